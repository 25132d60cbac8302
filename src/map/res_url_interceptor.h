// Sends every request for file:///res/... to the program's res/ folder.
#pragma once

#include <QWebEngineUrlRequestInterceptor>

class CResUrlInterceptor : public QWebEngineUrlRequestInterceptor {
  public:
    CResUrlInterceptor(QString resFolder, QObject* parent);
    void interceptRequest(QWebEngineUrlRequestInfo& info) override;
    const QString& ResFolder() const { return m_strResFolder; }

  private:
    QString m_strResFolder;
};
