// `veltrix --list-commands`: the command table as text for scripts (the random-input run takes
// its keys and menu entries from it), one command a line in menu order:
//   <menu position>\t<id>\t<flags>\t<keys>\t<label>
// position counts the menu's entries from 1 (separators not counted); flags is "quit" for the
// command that ends the program, else "-"; keys are X key names as xdotool takes them
// ("ctrl+o", "KP_Add"), separated by spaces, "-" when none; the label is in English.
#pragma once

#include <QKeySequence>

#include <ostream>
#include <string>

// The X key name of `key` as xdotool takes it, empty when it has none here.
std::string XKeyName(const QKeySequence& key);

void WriteCommandList(std::ostream& out);
