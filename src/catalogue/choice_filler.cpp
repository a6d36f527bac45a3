#include "catalogue/choice_filler.h"

#include <climits>

#include "catalogue/categories.h"
#include "catalogue/choice_lists.h"

namespace catalogue {

namespace {

TComboList& ListOf(const TParameterLists& lists, TPresetParam param) {
    switch (param) {
        case ppFrameSize:
            return lists.FrameSize;
        case ppVideoBitrate:
            return lists.VideoBitrate;
        case ppFrameRate:
            return lists.FrameRate;
        case ppAudioBitrate:
            return lists.AudioBitrate;
        case ppAudioSampleRate:
            return lists.AudioSampleRate;
        case ppFrameAspectRatio:
            break;
    }
    return lists.FrameAspectRatio;
}

// The order in which the main window lays out its lists, used for emptying and enabling.
constexpr TPresetParam kLayoutOrder[] = {ppFrameSize,        ppVideoBitrate, ppAudioBitrate,
                                         ppFrameAspectRatio, ppFrameRate,    ppAudioSampleRate};

constexpr TPresetParam kVideoParams[] = {ppFrameSize, ppVideoBitrate, ppFrameAspectRatio,
                                         ppFrameRate};

}  // namespace

void FillParameterLists(const TParameterLists& lists, int categoryIndex, int presetIndex,
                        const TFillerFields& fields) {
    for (TPresetParam param : kLayoutOrder) ListOf(lists, param).ClearItems();
    for (TPresetParam param : kLayoutOrder) ListOf(lists, param).SetEnabled(true);

    // A format list without a selection gives -1 and so a key without a row; the key is still
    // stored. A far-off index must not overflow into some key.
    const TPresetCategory* category = CategoryAt(categoryIndex);
    const long long key = category ? (category->CategoryCode + 1) * 100LL + presetIndex : -1;
    fields.All_Trant_Number = key >= INT_MIN && key <= INT_MAX ? static_cast<int>(key) : -1;
    fields.Video_DisableVideo = false;

    // Only an index within the category names a preset: an index past its end would otherwise
    // reach into the next category's keys.
    const TPresetChoices* row = FindPresetChoices(PresetKeyOf(categoryIndex, presetIndex));
    if (!row) return;

    for (int p = 0; p < kPresetParamCount; ++p) {
        const auto param = static_cast<TPresetParam>(p);
        const TPresetChoice& choice = row->Choices[p];
        TComboList& list = ListOf(lists, param);
        for (const char* entry : choice.List->Entries) list.AddItem(entry);
        list.SetItemIndex(choice.DefaultIndex);
    }
    if (row->AudioOnly) {
        for (TPresetParam param : kVideoParams) ListOf(lists, param).SetEnabled(false);
    }
}

}  // namespace catalogue
