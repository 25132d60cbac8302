// The main window: the one top-level window of the viewer. Caption-less and frameless, drawn
// on near-black, it owns every other window and widget of the process for the whole run: the two
// video engines, the map window, the widgets and the command buttons. It lays its children out
// itself (main_layout.h) and is moved and resized without a window-manager frame.
//
// A top-level QWidget rather than a QDialog: a dialog would close on Escape.
#pragma once

#include "catalog_lists.h"
#include "engine_events.h"
#include "folder_scan.h"
#include "main_layout.h"
#include "opening_rules.h"
#include "recording_catalog.h"
#include "track_plot.h"
#include "vehicle_sample_view.h"
#include "window_dialogs.h"

#include <QPoint>
#include <QRect>
#include <QTimer>
#include <QWidget>

#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <vector>

class CEscapeFilter;
class CClipCommands;
class CTrackFileCommands;
class CEventPresenter;
class CFileCommandJobs;
class CCommandSet;
class CTelemetryPresenter;
class CTripPresenter;
class CWindowModes;
class CToolTips;
struct WindowCommand;
struct FileCommandHooks;
struct UserMessage;
class CMapWindow;
class CVideoEngine;
class PlaybackSession;
class QCloseEvent;
class QPaintEvent;

class COrvexMainWindow : public QWidget {
    Q_OBJECT

  public:
    // Constructs the front and then the rear video engine, reads "UI"/"MAP" (the first settings
    // access, which creates the settings store) and makes its layout part, which fixes the extra
    // height of the top band from the primary screen. The window itself is built by Create().
    explicit COrvexMainWindow(QWidget* parent = nullptr);
    ~COrvexMainWindow() override;

    // Modeless creation: builds the window and runs OnInitDialog(). True on success.
    bool Create();

    // Saves the window rectangle under "WINPOS" and ends the process at once with exit code 0.
    // Nothing else is torn down. Also the close button's command (1046).
    [[noreturn]] void OnClose();

    // Children carry their numeric control id as object name; these address them by it.
    static void SetControlId(QWidget* control, int id);
    static int ControlId(const QWidget* control);
    QWidget* ControlById(int id) const;
    template <class T> T* ControlById(int id) const { return qobject_cast<T*>(ControlById(id)); }

    // The window rectangle in screen coordinates as saved at close: right and bottom exclusive.
    QRect WindowRect() const;

    // "Halvorn Veltrix", or "<file name> - Halvorn Veltrix" while a recording is open (empty name).
    void SetRecordingTitle(const QString& fileName);

    // The layout and the window modes: switches, panes, full-screen video, maximise, the splitters.
    CWindowModes* Modes() const { return m_pModes; }
    // Button commands by control id.
    void OnCommand(int id);

    // Accessible names of every child in the current language (again after a language change).
    void ApplyAccessibleNames();

    // Both engines and every piece of playback state; the window only presents what it tells.
    PlaybackSession* Session() const { return m_pSession; }
    // The G-force events of the open recording or trip: marks, the Events list, next/previous.
    CEventPresenter* Events() const { return m_pEvents; }
    // Clip marks and "Export clip..."; GPX, CSV and SRT of the open recording.
    CClipCommands* Clips() const { return m_pClips; }
    CTrackFileCommands* TrackFiles() const { return m_pTrackFiles; }
    CVideoEngine* FrontEngine() const;
    CVideoEngine* RearEngine() const;
    CMapWindow* MapDlg() const { return m_pMapDlg; }
    // The map page shown (0..2), as the settings hold it.
    int MapKind() const;
    // The countdown to the first recording of a scan ticks (from the start on).
    bool OpenCountdownRunning() const { return m_openCountdown.isActive(); }
    // The seek slider is brought to the engines' time a little after a start or a size change.
    bool SliderFollowPending() const { return m_sliderFollow.isActive(); }

    // Playback controller ------------------------------------------------------------------
    // Opening a card, playing a recording's two files, navigating and the telemetry that follows
    // playback (orvex_dlg_playback.cpp, orvex_dlg_opening.cpp, orvex_dlg_telemetry.cpp).
    void PlayPause();         // 1016
    void StopPlayback();      // 1017
    void Faster();            // 1018
    void Slower();            // 1020
    void SeekBy(int64_t ms);  // keyboard/wheel seek from the current time, through the pending seek
    void VolumeBy(int delta); // moves the volume slider by delta (0..100)
    void ToggleMute();        // 1048
    void Previous();          // 1078
    void Next();              // 1079
    void OpenSource();        // 1001
    void SwitchView();        // 1080
    void Rotate();            // 1023
    void Snapshot();          // 1006
    void Print();             // 1077
    void ExportKml();         // 1024
    // Opens `folder` as if it had been chosen in the source dialog (command line); stores it as
    // the last folder. A missing folder gives the "Folder is not exist." box.
    void OpenFolder(const std::filesystem::path& folder);
    // The catalog's current entry, -1 when none.
    int CurrentEntryIndex() const { return m_catalog.CurrentEntry(); }
    CRecordingCatalog& Catalog() { return m_catalog; }
    const CRecordingCatalog& Catalog() const { return m_catalog; }
    // The map, curve and gauges that follow playback (made at first use); file commands tell it
    // which recordings changed (Forget).
    CTelemetryPresenter& Telemetry();
    const CTrackPlot& TrackPlot();
    int SpeedIndex() const;
    // Auto-play next: the state of button 1022 (its standard picture means on).
    bool AutoNextOn() const;
    // A scan or the countdown to the first recording runs.
    bool ScanBusy() const;

    // Opens a catalog entry (front and rear) from its start, or from offsetMs into it.
    void OpenEntry(int index);
    void OpenEntryAt(int index, int64_t offsetMs);

  protected:
    void StopEngines();
    void ResetTransport(); // slider to the start, curve cursor to 0
    void RefreshSpeedLabel(bool timed);
    void UpdateLockPicture();
    // The lock button: the toggled picture when nothing is locked.
    void ShowLockPicture(bool locked);
    void ShowViewModePane();
    void MoveSlider(int64_t timeMs, int64_t lengthMs);
    void DropTelemetry();
    void CreateScan();
    void StartScan(const std::filesystem::path& folder);
    void FollowTime(int64_t timeMs); // the map, curve and gauges at a playback time
    void LoadTrackOf(int index);     // the entry's telemetry loaded in the background
    void ClearGauges();
    void SetGpsColor(int color);
    void Navigate(bool next);
    void BeginListOpen();
    void InitPlaybackController();
    void ConnectSession();
    void SayCardNotAnswering(const QString& message);
    void OnStopped();
    int ViewMode() const;

    CRecordingCatalog m_catalog;
    CTelemetryPresenter* m_pTelemetry = nullptr; // child QObject
    std::unique_ptr<CCatalogLists> m_pLists;
    std::unique_ptr<IFolderScanWindow> m_pScanWindow;
    std::unique_ptr<CFolderScan> m_pScan;
    CFileChoiceGate m_gate;
    std::filesystem::path m_strSourcePath;
    int m_nSpeedLabelTicks = 10;
    QTimer m_speedLabel;     // the speed label shown a while after a rate change
    QTimer m_openCountdown;  // the scan's countdown to the first recording
    QTimer m_openingTimeout; // an opening that never reports ends after this
    QTimer m_sliderFollow;   // the slider brought to the engines' time once
    // End of the playback controller block ------------------------------------------------

  public:
    // Commands, tool tips, menu and shortcuts ---------------------------------------------
    // Save as, delete, lock, auto-next, the map and G-sensor switches, configuration, about, the
    // tool tips, the context menu and the keyboard shortcuts (orvex_dlg_commands.cpp,
    // orvex_dlg_menu.cpp).
    // A command of the command table by its id, as a button, the menu or a key gives it.
    void RunCommand(int command);
    // The context menu with every command, at a global position; the chosen one runs after it.
    void ShowCommandMenu(const QPoint& globalPos);
    CCommandSet* Commands() const { return m_pCommands; }
    CToolTips* ToolTips() const { return m_pToolTips; }
    // Save as, delete and lock run their file work here, one job at a time (made when first asked).
    CFileCommandJobs& FileJobs();
    // Replaces the modal steps the commands go through; a step left empty keeps the one it had
    // (at first the real dialogs).
    void SetDialogs(WindowDialogs dialogs);

  protected:
    // The command table's handlers call the window's operations.
    friend const std::vector<WindowCommand>& WindowCommands();
    void OnSaveAs();        // 1005
    void OnDelete();        // 1014
    void OnLockToggle();    // 1027
    void OnAutoNext();      // 1022
    void OnMapSwitch();     // 1025
    void OnGsensorSwitch(); // 1026
    void OnConfiguration(); // 1015
    void OnAbout();         // 57670
    // Escape leaves full-screen video and otherwise does nothing.
    void OnEscapeKey();
    // The context menu of the background, the video panes and the lists, and the window's keys.
    void InstallCommandInput();
    // The window rectangle under "WINPOS" (also the first step of closing).
    void SaveWindowPosition();
    // A message box through the current dialogs: true on OK or Yes.
    bool AskUser(const UserMessage& message);

  private:
    FileCommandHooks MakeFileCommandHooks();
    MarkedSelection InspectTickedGroups();
    void ForgetDeletedRecording();
    template <class Operation> auto WithBothListsMarking(Operation operation);
    // Pauses each engine that plays; true when one was paused here.
    bool PausePlayingEngines();
    void HidePanesAfterFileCommand();

    CToolTips* m_pToolTips = nullptr;
    CFileCommandJobs* m_pFileJobs = nullptr;
    CCommandSet* m_pCommands = nullptr;
    WindowDialogs m_dialogs = RealWindowDialogs(this);
    // End of the commands block -----------------------------------------------------------

  protected:
    // Window initialisation, in order.
    bool OnInitDialog();
    // Places the window by the saved "WINPOS" rectangle, within the screen's available area.
    void RestoreWindowPosition();

    // Starts the map window's browser engine. The offscreen platform has no window system to host
    // the browser, so there the map window stays an empty frame.
    void InitMapWindow();

    // What the catalog of recordings tells the layout: its entries and the current one's picture.
    int CatalogEntryCount() const;
    QSize CurrentPictureSize() const;

    // Hand-off of input to the tool-tip control, before dispatch; nothing until tool tips exist.
    friend class CEscapeFilter;
    void RelayEventToToolTip(QObject* receiver, QEvent* event);

    // Private messages 0x0C01..0x0C0E; each returns 0 to its sender.
    bool event(QEvent* event) override;
    void OnPrivateMessage(int message, uintptr_t wParam);

    // Handlers filled by the playback controller, source opening and the lists.
    void OnPlayerError();
    void OnLanguageChanged();
    void OnGroupChosen(uintptr_t wParam);
    void OnFileChosen(uintptr_t wParam);
    void OnMapChanged();
    void OnVolumeChanged(uintptr_t wParam);
    void OnSeekRequest(uintptr_t wParam);
    // Timer ticks of the playback controller and source opening.
    void OnSpeedLabelTimer();
    void OnOpenCountdownTimer();
    void OnSliderFollowTimer();
    // Tool tips (registration of the controls) and the lists' initialisation.
    void SetupToolTips();
    void InitLists();
    // Playback state reset: no current entry, empty catalog, its views.
    void ResetPlayback();

    void InitTimers();

    void closeEvent(QCloseEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

  private:
    // A child by id as its widget class (also for stand-ins without meta-object).
    template <class T> T* Child(int id) const { return dynamic_cast<T*>(ControlById(id)); }

    void CreateChildren();
    void InitEvents(); // main_window_events.cpp
    void InitEvidenceExports(); // main_window_evidence.cpp
    // Trips (main_window_trips.cpp): a group line played as one drive.
    void InitTrips();
    bool PlayTrip(int group);
    bool EndTripOfOldCatalog();
    // The trip (group) of the open recording, played from its start as a chosen group line is.
    void PlayTripOfOpenRecording();
    bool TripOwnsMap() const;
    bool TripBarShown() const;
    void ShowEventAt(int entryIndex, int64_t recordingMs);
    void AttachEngines();
    void InitSliders();
    void CreateMapWindow();
    void LoadSkins();
    void CreateModes();

    bool m_bCreated = false;
    PlaybackSession* m_pSession = nullptr;
    CWindowModes* m_pModes = nullptr;
    CMapWindow* m_pMapDlg = nullptr;
    CEventPresenter* m_pEvents = nullptr;
    CClipCommands* m_pClips = nullptr;
    CTrackFileCommands* m_pTrackFiles = nullptr;
    CTripPresenter* m_pTrips = nullptr;
    CEscapeFilter* m_pEscapeFilter = nullptr;
};
