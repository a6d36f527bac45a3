#include "platform/sys/sound.h"

#include "platform/sys/replaceable.h"

namespace sys {

namespace {

TReplaceable<TSoundPlayer>& Player() {
    static TReplaceable<TSoundPlayer> player;
    return player;
}

}  // namespace

void PlaySoundFile(const std::string& fileName) {
    const TSoundPlayer player = Player().Get();
    if (player) player(fileName);
}

TSoundPlayer SetSoundPlayer(TSoundPlayer player) {
    return Player().Set(std::move(player));
}

}  // namespace sys
