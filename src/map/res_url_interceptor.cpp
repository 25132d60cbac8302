#include "res_url_interceptor.h"

#include "res_folder.h"

CResUrlInterceptor::CResUrlInterceptor(QString resFolder, QObject* parent)
    : QWebEngineUrlRequestInterceptor(parent), m_strResFolder(std::move(resFolder)) {}

void CResUrlInterceptor::interceptRequest(QWebEngineUrlRequestInfo& info) {
    const QUrl mapped = MapResUrl(info.requestUrl(), m_strResFolder);
    if (mapped.isValid() && !mapped.isEmpty()) info.redirect(mapped);
}
