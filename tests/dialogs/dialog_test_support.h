// Shared pieces of the dialog tests: a settings file of their own, a receiver that records the
// private messages posted to it, and acting on a modal dialog once it shows.
#pragma once

#include <QApplication>
#include <QCoreApplication>
#include <QEvent>
#include <QObject>
#include <QTimer>
#include <QWidget>

#include <filesystem>
#include <functional>
#include <string>
#include <unistd.h>
#include <utility>
#include <vector>

#include "language.h"
#include "private_message.h"
#include "settings.h"

namespace dialogs_test {

// A scratch folder with its own settings file; the language and map kind are restored after.
class SettingsScratch {
  public:
    explicit SettingsScratch(const char* name)
        : m_root(std::filesystem::temp_directory_path() /
                 (std::string("veltrix_") + name + "_" + std::to_string(::getpid()))) {
        std::filesystem::remove_all(m_root);
        std::filesystem::create_directories(m_root);
        CAppSettings& settings = GetAppSettings();
        m_savedIni = settings.m_strIniPath;
        m_savedLang = settings.m_nLangIndex;
        m_savedMap = settings.m_nMapKind;
        settings.m_strIniPath = m_root / "Veltrix.ini";
    }
    ~SettingsScratch() {
        CAppSettings& settings = GetAppSettings();
        settings.m_strIniPath = m_savedIni;
        settings.m_nLangIndex = m_savedLang;
        settings.m_wLangId = LanguageIdOfRow(m_savedLang);
        settings.m_nMapKind = m_savedMap;
        std::error_code ec;
        std::filesystem::remove_all(m_root, ec);
    }
    const std::filesystem::path& Root() const { return m_root; }
    // The language as the program would have it after reading LANGID at start.
    void StartIn(const char* code) const { GetAppSettings().SetLanguage(FindLanguage(code)); }
    std::string Read(const char* key) const { return GetAppSettings().ReadString("UI", key, "<none>"); }

  private:
    std::filesystem::path m_root;
    std::filesystem::path m_savedIni;
    int m_savedLang = 0;
    int m_savedMap = 0;
};

// A main window stand-in that records every private message that reaches it.
class MessageLog : public QWidget {
  public:
    std::vector<std::pair<int, uintptr_t>> m_messages;

    bool event(QEvent* event) override {
        if (auto* message = dynamic_cast<PrivateMessage*>(event)) {
            m_messages.emplace_back(message->message(), message->wParam());
            return true;
        }
        return QWidget::event(event);
    }
    // Delivers what is still queued for this receiver.
    void Flush() { QCoreApplication::sendPostedEvents(this); }
    int Count(int message) const {
        int n = 0;
        for (const auto& [type, wParam] : m_messages)
            n += type == message;
        return n;
    }
};

// Runs `act` on the first modal dialog of type T that is shown (as a user would act on it).
template <class T> void WhenModalShows(std::function<void(T&)> act) {
    auto* poll = new QTimer;
    QObject::connect(poll, &QTimer::timeout, [poll, act] {
        auto* dialog = dynamic_cast<T*>(QApplication::activeModalWidget());
        if (!dialog || !dialog->isVisible()) return;
        poll->stop();
        poll->deleteLater();
        act(*dialog);
    });
    poll->start(5);
}

} // namespace dialogs_test
