#pragma once

#include <vector>

#include "lyrics/noteitem.h"

namespace tarvesh::lyrics {

// Where each item of a line went when the line changed from `before` to `after`: the index in
// `after`, or -1 for an item that is gone. Items are matched by their music, keeping their
// order, as many as can be. Between two matched items, items that changed in place (a note
// typed over another) follow one for one. Where the music alone cannot tell (a note put into a
// run of equal notes), the page tells: items left of `editLeft`, where the edit began, kept
// their place; items from there on were moved by it.
std::vector<int> FollowItems(const std::vector<NoteItem>& before,
                             const std::vector<NoteItem>& after, int editLeft);

}  // namespace tarvesh::lyrics
