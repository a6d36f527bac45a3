#include "skin/core/skin_records.h"

#include <typeinfo>

namespace skin {

namespace {

// What a record does after its keys are read; most do nothing.
template <class T>
void AfterLoad(T&) {}

// A caption button whose command flips its look gets the "Restore" hint of its second state
// when the skin names none.
void DefaultRestoreHint(const std::string& hint, TbsStdCommand command, std::string& restoreHint) {
    if (!restoreHint.empty()) return;
    if ((hint == "Maximize" && command == cmMaximize) ||
        (hint == "Minimize" && command == cmMinimize) ||
        ((hint == "RollUp" || hint == "Roll Up") && command == cmRollUp))
        restoreHint = "Restore";
}

// An up-down is drawn from its button rectangles only, never as a nine-slice.
void AfterLoad(TbsDataSkinUpDownControl& r) {
    r.LTPoint = r.RTPoint = r.LBPoint = r.RBPoint = TPoint{};
    r.ClRect = TRect{};
}

void AfterLoad(TbsDataSkinStdButton& r) {
    DefaultRestoreHint(r.Hint, r.Command, r.RestoreHint);
}

// Animations never morph, whatever the section says.
void AfterLoad(TbsDataSkinAnimate& r) {
    r.Morphing = false;
    DefaultRestoreHint(r.Hint, r.Command, r.RestoreHint);
}

// A hot image the skin leaves out is the normal one.
void AfterLoad(TbsDataSkinMenuItem& r) {
    if (r.ActiveCheckImageRect.IsEmpty()) r.ActiveCheckImageRect = r.CheckImageRect;
    if (r.ActiveRadioImageRect.IsEmpty()) r.ActiveRadioImageRect = r.RadioImageRect;
    if (r.ActiveArrowImageRect.IsEmpty()) r.ActiveArrowImageRect = r.ArrowImageRect;
}

}  // namespace

// --- bases: every writer erases its section first ---

#define MORADEX_SKIN_BASE_METHODS(Class, KEYS)                 \
    void Class::LoadFromFile(const rtl::TCustomIniFile& ini) { \
        const std::string_view section = IDName;               \
        KEYS(MORADEX_SKIN_READ)                                \
    }                                                          \
    void Class::SaveToFile(rtl::TCustomIniFile& ini) const {   \
        const std::string_view section = IDName;               \
        ini.EraseSection(section);                             \
        KEYS(MORADEX_SKIN_WRITE)                               \
    }

MORADEX_SKIN_BASE_METHODS(TbsDataSkinControl, MORADEX_SKIN_CONTROL_KEYS)
MORADEX_SKIN_BASE_METHODS(TbsDataSkinObject, MORADEX_SKIN_OBJECT_KEYS)

// --- the generated records ---

#define MORADEX_SKIN_RECORD_METHODS(Class, Base, KEYS)            \
    void Class::LoadFromFile(const rtl::TCustomIniFile& ini) {    \
        Base::LoadFromFile(ini);                                  \
        [[maybe_unused]] const std::string_view section = IDName; \
        KEYS(MORADEX_SKIN_READ)                                   \
        AfterLoad(*this);                                         \
    }                                                             \
    void Class::SaveToFile(rtl::TCustomIniFile& ini) const {      \
        Base::SaveToFile(ini);                                    \
        [[maybe_unused]] const std::string_view section = IDName; \
        KEYS(MORADEX_SKIN_WRITE)                                  \
    }

MORADEX_SKIN_CONTROL_RECORDS(MORADEX_SKIN_RECORD_METHODS)
MORADEX_SKIN_OBJECT_RECORDS(MORADEX_SKIN_RECORD_METHODS)

void TbsDataUserObject::LoadFromFile(const rtl::TCustomIniFile& ini) {
    SkinRect = value::Rect::Read(ini, IDName, "skinrect", TRect{});
}

void TbsDataUserObject::SaveToFile(rtl::TCustomIniFile& ini) const {
    ini.EraseSection(IDName);
    value::Rect::Write(ini, IDName, "skinrect", SkinRect);
}

// --- singletons and colours ---

#define MORADEX_SKIN_SINGLETON_METHODS(Class, Section, KEYS)   \
    void Class::LoadFromFile(const rtl::TCustomIniFile& ini) { \
        const std::string_view section = kSection;             \
        KEYS(MORADEX_SKIN_READ)                                \
    }                                                          \
    void Class::SaveToFile(rtl::TCustomIniFile& ini) const {   \
        const std::string_view section = kSection;             \
        KEYS(MORADEX_SKIN_WRITE)                               \
    }

MORADEX_SKIN_SINGLETONS(MORADEX_SKIN_SINGLETON_METHODS)

void TbsSkinColors::SetColorsToDefault() {
#define MORADEX_SKIN_COLOR_DEFAULT(property, key, index) property = gfx::SystemColor(index);
    MORADEX_SKIN_COLORS(MORADEX_SKIN_COLOR_DEFAULT)
#undef MORADEX_SKIN_COLOR_DEFAULT
}

void TbsSkinColors::LoadFromFile(const rtl::TCustomIniFile& ini) {
#define MORADEX_SKIN_COLOR_READ(property, key, index) \
    property = value::Colour::Read(ini, kSection, key, gfx::SystemColor(index));
    MORADEX_SKIN_COLORS(MORADEX_SKIN_COLOR_READ)
#undef MORADEX_SKIN_COLOR_READ
}

void TbsSkinColors::SaveToFile(rtl::TCustomIniFile& ini) const {
#define MORADEX_SKIN_COLOR_WRITE(property, key, index) \
    value::Colour::Write(ini, kSection, key, property);
    MORADEX_SKIN_COLORS(MORADEX_SKIN_COLOR_WRITE)
#undef MORADEX_SKIN_COLOR_WRITE
}

// --- kind words ---

std::unique_ptr<TbsDataSkinControl> CreateControlRecord(std::string_view kindWord,
                                                        std::string idName) {
#define MORADEX_SKIN_CREATE(word, Class) \
    if (kindWord == word) return std::make_unique<Class>(std::move(idName));
    MORADEX_SKIN_CONTROL_KINDS(MORADEX_SKIN_CREATE)
    return nullptr;
}

std::unique_ptr<TbsDataSkinObject> CreateObjectRecord(std::string_view kindWord,
                                                      std::string idName) {
    MORADEX_SKIN_OBJECT_KINDS(MORADEX_SKIN_CREATE)
    return nullptr;
#undef MORADEX_SKIN_CREATE
}

// The exact class decides, so a derived record never writes its base's word.
#define MORADEX_SKIN_WORD_OF(word, Class) \
    if (typeid(record) == typeid(Class)) return word;

std::string_view ControlKindWord(const TbsDataSkinControl& record) {
    MORADEX_SKIN_CONTROL_KINDS(MORADEX_SKIN_WORD_OF)
    return {};
}

std::string_view ObjectKindWord(const TbsDataSkinObject& record) {
    MORADEX_SKIN_OBJECT_KINDS(MORADEX_SKIN_WORD_OF)
    return {};
}

#undef MORADEX_SKIN_WORD_OF

}  // namespace skin
