// Shows a UserMessage as a modal message box owned by `parent`.
#pragma once

#include "file_operation_texts.h"

class QWidget;

// True when the box was closed with OK.
bool ShowUserMessage(QWidget* parent, const UserMessage& message);
