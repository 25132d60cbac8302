// Accessible names of the main window's children, by control id: the tool-tip text where the
// control has a tool tip, else a text of its own; both looked up in the current language.
#pragma once

#include <string>
#include <vector>

struct AccessibleNameRow {
    int controlId;
    unsigned stringId; // 0: the product name (logo, title picture, banner)
};

// Every named child, the command buttons first (their command's label); the map window is listed
// under its dialog id 194.
std::vector<AccessibleNameRow> AccessibleNameTable();
// The string id of `controlId`'s name; 0 when it has none of its own.
unsigned AccessibleNameStringId(int controlId);
// The name in the current language; empty for an unknown control id.
std::string AccessibleNameOf(int controlId);
