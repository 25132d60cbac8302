// "Export GPX", "Export CSV" and "Export subtitles (SRT)" of the open recording (or trip): the file
// written on a worker thread into the documents folder beside the KML export, an existing file
// replaced only when the user agrees, and the result said in words.
//
// Threading contract:
//   UI thread: every public function, the message boxes and the hooks.
//   worker (one std::thread per export): reads the recordings' telemetry and writes the file; it
//     touches no widget. The result comes back by a queued call. One export at a time.
//   The destructor waits for a running export (a few reads and one small file).
#pragma once

#include <QObject>

#include <filesystem>
#include <functional>
#include <thread>
#include <vector>

#include "track_file_export.h"

class QWidget;

class CTrackFileCommands : public QObject {
    Q_OBJECT
  public:
    // The recordings to export: the open one, or the trip's in driving order; empty: none open.
    using SourcesFn = std::function<std::vector<TrackFileSource>()>;
    using AskFn = std::function<bool(const QString& question)>;
    using SayFn = std::function<void(const QString& text)>;

    CTrackFileCommands(QWidget* dialogParent, SourcesFn sources);
    ~CTrackFileCommands() override;

    void Export(TrackFileKind kind);
    bool Running() const { return m_worker.joinable(); }

    void SetDocumentsFolder(std::filesystem::path folder) { m_documents = std::move(folder); }
    // Stand-ins for the message boxes (tests).
    void SetAsker(AskFn ask) { m_ask = std::move(ask); }
    void SetSayer(SayFn say) { m_say = std::move(say); }

  signals:
    // After the result was said.
    void finished(const TrackFileOutcome& outcome);

  private:
    void Start(TrackFileKind kind, std::vector<TrackFileSource> sources, bool replace);
    void OnDone(TrackFileKind kind, std::vector<TrackFileSource> sources, TrackFileOutcome outcome);
    void Say(TrackFileKind kind, const QString& text);

    QWidget* m_pDialogParent;
    SourcesFn m_sources;
    std::filesystem::path m_documents;
    AskFn m_ask;
    SayFn m_say;
    std::thread m_worker;
};

// The command text of an export kind: "Export GPX", "Export CSV", "Export subtitles (SRT)".
unsigned TrackFileCommandTextId(TrackFileKind kind);
