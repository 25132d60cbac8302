// "Export clip...": the layout (only those the open cameras allow), the picture (telemetry burned
// in, plain, or a quick cut without re-encoding) and the output file, proposed and then confirmed
// by the user. Every control has an accessible name; Browse opens the save dialog of the platform.
#pragma once

#include <QDialog>

#include <filesystem>
#include <optional>
#include <vector>

#include "clip_request.h"

class QComboBox;
class QLineEdit;

struct ClipExportSettings {
    ClipLayout layout = ClipLayout::kFrontOnly;
    ClipPicture picture = ClipPicture::kOverlay;
    std::filesystem::path output;
};

// The layouts that make sense with or without a rear recording, the default first.
std::vector<ClipLayout> ClipLayoutsFor(bool hasRear);

class CClipExportDialog : public QDialog {
    Q_OBJECT
  public:
    CClipExportDialog(QWidget* parent, const ClipExportSettings& proposed, bool hasRear);

    ClipExportSettings Settings() const;

  private:
    void Browse();

    QComboBox* m_pLayout;
    QComboBox* m_pPicture;
    QLineEdit* m_pOutput;
};

// Runs the dialog modally; empty when the user cancelled or left the file name empty.
std::optional<ClipExportSettings> AskClipExportSettings(QWidget* parent, const ClipExportSettings& proposed,
                                                        bool hasRear);
