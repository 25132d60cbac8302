// The page shown in a frame whose load failed.
#pragma once

#include <QByteArray>
#include <QString>

// Engine code of an aborted load (a cancelled navigation or a download): no error page then.
constexpr int kLoadAbortedCode = -3;

// "<html><body bgcolor=\"white\"><h2>Failed to load URL ... with error ... (code).</h2></body></html>"
QByteArray ErrorPageHtml(const QString& failedUrl, const QString& errorText, int errorCode);

// "data:text/html;base64," + the URL-encoded Base64 form of the page.
QString ErrorPageDataUrl(const QString& failedUrl, const QString& errorText, int errorCode);

// True when the arguments carry the switch "enable-chrome-runtime" ("--" or "-" prefix, optional value).
bool HasChromeRuntimeSwitch(const QStringList& arguments);
