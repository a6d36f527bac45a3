// Item-id lists: the addresses of the shell namespace, in the shell's published byte layout.
//
// A list is a run of item ids, each a 16-bit byte count (counting its own two bytes) and
// count - 2 bytes of data, ended by a 16-bit zero; the list of only the terminator names the
// desktop. Here an item id's data is one kind byte and its payload (item_kinds.h). Every list
// these routines return comes from ShellAllocZeroed and is released with ShellFree; TItemIdPtr
// does that on its own. Pure functions over the bytes, safe on any thread.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

namespace shell {

using PItemIDList = uint8_t*;
using PCItemIDList = const uint8_t*;

// Size bytes from the task allocator, zeroed; nullptr when it has none.
PItemIDList ShellAllocZeroed(size_t size);
// Releases what ShellAllocZeroed gave; nullptr is ignored.
void ShellFree(PItemIDList p);

struct TShellFreeDeleter {
    void operator()(uint8_t* p) const { ShellFree(p); }
};
using TItemIdPtr = std::unique_ptr<uint8_t, TShellFreeDeleter>;

// The byte count of the item id at Id (0 at the terminator).
uint16_t ItemIdByteCount(PCItemIDList id);
// The item id that follows Id.
PCItemIDList ItemIdNext(PCItemIDList id);
// Item ids before the terminator; 0 for nullptr.
int ItemIdCount(PCItemIDList list);
// 0 for nullptr; else 2 plus the byte counts of all item ids.
size_t ItemIdListSize(PCItemIDList list);
bool ItemIdListIsEmpty(PCItemIDList list);

// Nullptr for nullptr or when the allocator has no memory.
TItemIdPtr ItemIdListCopy(PCItemIDList list);
// First without its terminator (nothing for nullptr), then Second with its terminator.
TItemIdPtr ItemIdListJoin(PCItemIDList first, PCItemIDList second);
// In place: the list ends before its last item id; an empty list and nullptr stay as they are.
void ItemIdStripLast(PItemIDList list);
// Only the last item id of List; an empty list gives an empty list.
TItemIdPtr ItemIdLastCopy(PCItemIDList list);
// One list per ancestor of the absolute Id, outermost (the desktop's empty list) first, up to
// Id's parent; an empty Id gives none.
std::vector<TItemIdPtr> ItemIdAncestors(PCItemIDList id);
// A list of one item id holding `data` (kind byte first); nullptr when it does not fit 16 bits.
TItemIdPtr ItemIdFromData(const uint8_t* data, size_t size);
// The data bytes of the item id at Id (after its count) and their number.
const uint8_t* ItemIdData(PCItemIDList id);
size_t ItemIdDataSize(PCItemIDList id);
// The last item id of List (List itself when it has one level); the terminator when empty.
PCItemIDList ItemIdLast(PCItemIDList list);

}  // namespace shell
