// The new-word book: the reader puts the word at hand, with an explanation typed in on the
// spot, into the word library program folder + "lib\生词本.ini". Finding the word in the
// reading view, and the key and button that start this, belong to the reader window.
#pragma once

#include <string_view>

#include "battle/library_list.h"
#include "common/program_folder.h"
#include "common/prompter.h"

namespace duvelin {

// The book's data path (GBK) below the program folder.
std::string_view NewWordBookPath();

enum class NewWordOutcome {
  NothingToAdd,  // no word, cancelled, empty input or input ending in "="
  KeptExisting,  // the word was in the book and the user chose not to overwrite it
  Added,
  Replaced,
  SaveFailed,
};

// `word` is the GBK word taken from the view. Asks for the line to store (initially word "="),
// asks before overwriting an explained word, and writes the book atomically. A new book
// starts with the line "[word]" and its entry is added to `libraries` at once.
NewWordOutcome AddToNewWordBook(const ProgramFolder& programFolder, Prompter& prompter, LibraryList& libraries,
                                std::string_view word);

}  // namespace duvelin
