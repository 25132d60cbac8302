// The application handler of the browser engine: applies the engine settings to the web engine
// profile and tells the map window when the engine can create pages.
#pragma once

#include <QByteArray>
#include <QObject>
#include <QStringList>
#include <string>

class CBrowserHost;
class CResUrlInterceptor;
class QWebEngineProfile;

// The settings given to the engine at start-up; every other setting is the engine's default.
struct EngineSettings {
    bool chrome_runtime = false;
    std::string locale;
    std::string accept_language_list;
    bool no_sandbox = true;
};

// chrome_runtime from the switch "enable-chrome-runtime"; locale and accept-language list from
// the user-interface language row `langIndex`.
EngineSettings BuildEngineSettings(const QStringList& arguments, int langIndex);

// Whether the engine may start its page processes without the zygote processes: only when the
// sandbox is off (the variable is "1", or the flags hold "--no-sandbox"), as the zygote is what
// sandboxes them. Without the sandbox the two zygotes, kept only to fork page processes from, cost
// about 20 MB and save nothing, since the map has one page.
bool CanLeaveOutZygote(const QByteArray& disableSandboxVariable, const QByteArray& chromiumFlags);

class CWebEngineSetup : public QObject {
  public:
    explicit CWebEngineSetup(QObject* parent);

    // Makes the map's web engine profile (map_cache.h), applies `settings` to it and, once the
    // event loop runs, calls OnContextInitialized. Only the first call of the process starts the
    // engine.
    void Initialize(const EngineSettings& settings);

    // Browser-process handler.
    void OnContextInitialized();
    CBrowserHost* GetDefaultClient() const;

    // The one application handler of the process, once the engine was started.
    static CWebEngineSetup* Instance();
    const QString& ResFolder() const;
    // The profile of every map page; null before Initialize.
    QWebEngineProfile* Profile() const { return m_pProfile; }

  private:
    CResUrlInterceptor* m_pInterceptor = nullptr;
    QWebEngineProfile* m_pProfile = nullptr;
};
