// Texts of the string tables for the dialogs: placeholders filled in order, and the Qt form.
#pragma once

#include <QString>

#include <initializer_list>
#include <string>

// `text` with each "%s" or "%d" replaced, in order, by the next of `values` (as given: a number is
// passed already written). Placeholders beyond the values stay as they are; the values are never
// read as formats themselves.
std::string FillPlaceholders(std::string text, std::initializer_list<std::string> values);

// LoadLangString in the current language, as a QString.
QString LangText(unsigned id);
