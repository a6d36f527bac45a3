// Feeds arbitrary bytes to the skin package reader, either as a whole package (header and zlib
// stream) or as an inflated payload: it must load or refuse with an exception of its own, never
// crash, overrun or run away.
#include <cstdint>
#include <cstdlib>

#include "platform/rtl/exception.h"
#include "platform/rtl/streams.h"
#include "skin/core/skin_package.h"

namespace {

void ReadPayload(rtl::TMemoryStream& payload) {
    skin::TbsSkinContent skin;
    if (!skin::ReadSkinPayload(payload, skin)) return;
    // A loaded skin keeps one name per further picture.
    if (skin.FActivePicturesNames.Count() != static_cast<int>(skin.FActivePictures.size()))
        std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    rtl::TMemoryStream input;
    input.WriteBuffer(data, static_cast<int64_t>(size));
    try {
#if MORADEX_FUZZ_PACKAGE
        skin::TbsCompressedStoredSkin stored(nullptr);
        stored.LoadFromCompressStream(input);
        if (stored.Empty()) return 0;
        rtl::TMemoryStream payload;
        stored.DeCompressToStream(payload);
        ReadPayload(payload);
#else
        ReadPayload(input);
#endif
    } catch (const rtl::Exception&) {
        // Refused with a reason: what damaged input must do.
    }
    return 0;
}
