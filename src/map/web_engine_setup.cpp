#include "web_engine_setup.h"

#include <QTimer>
#include <QWebEngineProfile>
#include <QWebEngineSettings>

#include "browser_host.h"
#include "engine_locale.h"
#include "error_page.h"
#include "map_window.h"
#include "map_cache.h"
#include "private_message.h"
#include "res_folder.h"
#include "res_url_interceptor.h"

namespace {

CWebEngineSetup* s_pApp = nullptr;

// Chromium reads its switches once, when the first page starts the engine. A switch already given
// (with any value) is left as it is.
void AddEngineSwitch(const QByteArray& sw) {
    QByteArray flags = qgetenv("QTWEBENGINE_CHROMIUM_FLAGS");
    const qsizetype equals = sw.indexOf('=');
    if (flags.contains(equals < 0 ? sw : sw.left(equals + 1))) return;
    flags += (flags.isEmpty() ? "" : " ") + sw;
    qputenv("QTWEBENGINE_CHROMIUM_FLAGS", flags);
}

} // namespace

bool CanLeaveOutZygote(const QByteArray& disableSandboxVariable, const QByteArray& chromiumFlags) {
    return disableSandboxVariable == "1" || chromiumFlags.split(' ').contains("--no-sandbox");
}

EngineSettings BuildEngineSettings(const QStringList& arguments, int langIndex) {
    EngineSettings settings;
    settings.chrome_runtime = HasChromeRuntimeSwitch(arguments);
    settings.locale = EngineLocaleForLanguage(langIndex);
    settings.accept_language_list = settings.locale;
    settings.no_sandbox = true;
    return settings;
}

CWebEngineSetup::CWebEngineSetup(QObject* parent) : QObject(parent) {}

CWebEngineSetup* CWebEngineSetup::Instance() {
    return s_pApp;
}

const QString& CWebEngineSetup::ResFolder() const {
    static const QString none;
    return m_pInterceptor ? m_pInterceptor->ResFolder() : none;
}

void CWebEngineSetup::Initialize(const EngineSettings& settings) {
    if (!s_pApp) {
        s_pApp = this;
        if (settings.no_sandbox && qEnvironmentVariableIsEmpty("QTWEBENGINE_DISABLE_SANDBOX"))
            qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
        if (!settings.locale.empty()) AddEngineSwitch("--lang=" + QByteArray::fromStdString(settings.locale));
        if (CanLeaveOutZygote(qgetenv("QTWEBENGINE_DISABLE_SANDBOX"), qgetenv("QTWEBENGINE_CHROMIUM_FLAGS")))
            AddEngineSwitch("--no-zygote");

        m_pProfile = CreateMapProfile(MapCacheFolder(), MapCacheMegabytes(), this);
        QWebEngineProfile* profile = m_pProfile;
        if (!settings.accept_language_list.empty())
            profile->setHttpAcceptLanguage(QString::fromStdString(settings.accept_language_list));
        // Our own error page replaces the engine's, unless the Chrome runtime was asked for.
        profile->settings()->setAttribute(QWebEngineSettings::ErrorPageEnabled, settings.chrome_runtime);
        m_pInterceptor = new CResUrlInterceptor(FindResFolder(), this);
        profile->setUrlRequestInterceptor(m_pInterceptor);
    }
    // The context is ready once the event loop runs: the notification is posted, never sent
    // from inside start-up.
    QTimer::singleShot(0, s_pApp, [] { s_pApp->OnContextInitialized(); });
}

void CWebEngineSetup::OnContextInitialized() {
    if (g_pMapWnd) PostPrivateMessage(g_pMapWnd, MSG_MAP_NOTIFY, MAP_NOTIFY_READY, 0);
}

CBrowserHost* CWebEngineSetup::GetDefaultClient() const {
    return CBrowserHost::GetInstance();
}
