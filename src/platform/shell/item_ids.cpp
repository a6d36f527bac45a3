#include "platform/shell/item_ids.h"

#include <cstdlib>
#include <cstring>

namespace shell {

PItemIDList ShellAllocZeroed(size_t size) {
    return static_cast<PItemIDList>(std::calloc(size == 0 ? 1 : size, 1));
}

void ShellFree(PItemIDList p) {
    std::free(p);
}

uint16_t ItemIdByteCount(PCItemIDList id) {
    if (!id) return 0;
    uint16_t count;
    std::memcpy(&count, id, sizeof count);
    return count;
}

PCItemIDList ItemIdNext(PCItemIDList id) {
    return id + ItemIdByteCount(id);
}

int ItemIdCount(PCItemIDList list) {
    int count = 0;
    if (!list) return 0;
    for (PCItemIDList id = list; ItemIdByteCount(id) != 0; id = ItemIdNext(id)) ++count;
    return count;
}

size_t ItemIdListSize(PCItemIDList list) {
    if (!list) return 0;
    size_t size = 2;
    for (PCItemIDList id = list; ItemIdByteCount(id) != 0; id = ItemIdNext(id))
        size += ItemIdByteCount(id);
    return size;
}

bool ItemIdListIsEmpty(PCItemIDList list) {
    return !list || ItemIdByteCount(list) == 0;
}

TItemIdPtr ItemIdListCopy(PCItemIDList list) {
    if (!list) return nullptr;
    const size_t size = ItemIdListSize(list);
    TItemIdPtr copy(ShellAllocZeroed(size));
    if (copy) std::memcpy(copy.get(), list, size);
    return copy;
}

TItemIdPtr ItemIdListJoin(PCItemIDList first, PCItemIDList second) {
    const size_t firstSize = first ? ItemIdListSize(first) - 2 : 0;
    const size_t secondSize = second ? ItemIdListSize(second) : 2;
    TItemIdPtr joined(ShellAllocZeroed(firstSize + secondSize));
    if (!joined) return nullptr;
    if (firstSize) std::memcpy(joined.get(), first, firstSize);
    if (second) std::memcpy(joined.get() + firstSize, second, secondSize);
    return joined;
}

void ItemIdStripLast(PItemIDList list) {
    if (ItemIdListIsEmpty(list)) return;
    PItemIDList last = list;
    for (PItemIDList id = list; ItemIdByteCount(id) != 0; id += ItemIdByteCount(id)) last = id;
    std::memset(last, 0, 2);
}

PCItemIDList ItemIdLast(PCItemIDList list) {
    if (ItemIdListIsEmpty(list)) return list;
    PCItemIDList last = list;
    for (PCItemIDList id = list; ItemIdByteCount(id) != 0; id = ItemIdNext(id)) last = id;
    return last;
}

TItemIdPtr ItemIdLastCopy(PCItemIDList list) {
    if (!list) return nullptr;
    return ItemIdListCopy(ItemIdLast(list));
}

std::vector<TItemIdPtr> ItemIdAncestors(PCItemIDList id) {
    std::vector<TItemIdPtr> result;
    if (ItemIdListIsEmpty(id)) return result;
    TItemIdPtr current = ItemIdListCopy(id);
    while (current && !ItemIdListIsEmpty(current.get())) {
        ItemIdStripLast(current.get());
        result.insert(result.begin(), ItemIdListCopy(current.get()));
    }
    return result;
}

TItemIdPtr ItemIdFromData(const uint8_t* data, size_t size) {
    if (size + 2 > 0xFFFF) return nullptr;
    TItemIdPtr list(ShellAllocZeroed(size + 4));
    if (!list) return nullptr;
    const uint16_t count = static_cast<uint16_t>(size + 2);
    std::memcpy(list.get(), &count, 2);
    if (size) std::memcpy(list.get() + 2, data, size);
    return list;
}

const uint8_t* ItemIdData(PCItemIDList id) {
    return id + 2;
}

size_t ItemIdDataSize(PCItemIDList id) {
    const uint16_t count = ItemIdByteCount(id);
    return count > 2 ? count - 2 : 0;
}

}  // namespace shell
