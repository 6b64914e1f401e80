// Fetches movies for the banner's layers over HTTP. What comes back is untrusted: every fetch
// is bounded in time and size, and a fetch that fails in any way simply delivers nothing.
#pragma once

#include <chrono>
#include <map>

#include <QByteArray>
#include <QObject>
#include <QPointer>
#include <QUrl>

class QNetworkAccessManager;
class QNetworkReply;

namespace kettrik {

struct MovieLoadLimits {
    std::chrono::milliseconds Timeout{15000}; // for the whole fetch, redirects included
    qint64 MaxBytes = 256 * 1024;
};

class MovieLoader : public QObject {
    Q_OBJECT
public:
    explicit MovieLoader(QObject* parent = nullptr);
    ~MovieLoader() override;

    void SetLimits(const MovieLoadLimits& limits) { limits_ = limits; }
    // Starts fetching an http or https address for a layer, ending that layer's earlier fetch.
    void Fetch(int layer, const QUrl& address);
    void Cancel(int layer);
    bool IsLoading(int layer) const;

signals:
    // The body of a successful fetch (a 2xx answer within the limits).
    void Loaded(int layer, const QByteArray& body);

private:
    void Finished(int layer, QNetworkReply* reply);

    MovieLoadLimits limits_;
    QNetworkAccessManager* network_ = nullptr; // made with the first fetch
    std::map<int, QPointer<QNetworkReply>> replies_;
};

} // namespace kettrik
