// Which pictures a player can name once solved, by the words of the picture's
// name: things, animals, food and places read as pictures; symbols, gestures
// and interface furniture need a caption.
#pragma once

#include <string>

namespace forge {

// 0: the name speaks of nothing a small picture shows; 1: a concrete thing,
// legible on boards of 15 cells and more; 2: a bold simple object that reads
// even on a board of 10 cells.
int Legibility(const std::string& name);

}  // namespace forge
