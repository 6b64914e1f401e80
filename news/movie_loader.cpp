#include "news/movie_loader.h"

#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QTimer>

namespace kettrik {

namespace {

constexpr int MaxRedirects = 5;

bool Oversized(const QNetworkReply* reply, qint64 limit) {
    const QVariant length = reply->header(QNetworkRequest::ContentLengthHeader);
    return reply->bytesAvailable() > limit || (length.isValid() && length.toLongLong() > limit);
}

} // namespace

MovieLoader::MovieLoader(QObject* parent) : QObject(parent) {}

MovieLoader::~MovieLoader() {
    for (auto& [layer, reply] : replies_) {
        if (reply) {
            reply->disconnect(this);
            reply->abort();
        }
    }
}

void MovieLoader::Fetch(int layer, const QUrl& address) {
    Cancel(layer);
    const QString scheme = address.scheme().toLower();
    if (!address.isValid() ||
        (scheme != QLatin1String("http") && scheme != QLatin1String("https"))) {
        return;
    }
    if (network_ == nullptr) {
        network_ = new QNetworkAccessManager(this);
    }
    QNetworkRequest request(address);
    request.setAttribute(QNetworkRequest::RedirectPolicyAttribute,
                         QNetworkRequest::NoLessSafeRedirectPolicy);
    request.setMaximumRedirectsAllowed(MaxRedirects);
    request.setTransferTimeout(static_cast<int>(limits_.Timeout.count()));
    QNetworkReply* reply = network_->get(request);
    replies_[layer] = reply;

    const qint64 limit = limits_.MaxBytes;
    const auto abortWhenOversized = [reply, limit] {
        if (Oversized(reply, limit)) {
            reply->abort();
        }
    };
    connect(reply, &QNetworkReply::metaDataChanged, reply, abortWhenOversized);
    connect(reply, &QNetworkReply::readyRead, reply, abortWhenOversized);
    // The transfer timeout only notices silence; a server that trickles is stopped here.
    QTimer::singleShot(limits_.Timeout, reply, [reply] { reply->abort(); });
    connect(reply, &QNetworkReply::finished, this,
            [this, layer, reply] { Finished(layer, reply); });
}

void MovieLoader::Cancel(int layer) {
    const auto found = replies_.find(layer);
    if (found == replies_.end()) {
        return;
    }
    QPointer<QNetworkReply> reply = found->second;
    replies_.erase(found);
    if (reply) {
        reply->disconnect(this);
        reply->abort();
        reply->deleteLater();
    }
}

bool MovieLoader::IsLoading(int layer) const {
    const auto found = replies_.find(layer);
    return found != replies_.end() && found->second && found->second->isRunning();
}

void MovieLoader::Finished(int layer, QNetworkReply* reply) {
    reply->deleteLater();
    const auto found = replies_.find(layer);
    if (found == replies_.end() || found->second != reply) {
        return;
    }
    replies_.erase(found);
    const int status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    if (reply->error() != QNetworkReply::NoError || status < 200 || status > 299 ||
        Oversized(reply, limits_.MaxBytes)) {
        return;
    }
    emit Loaded(layer, reply->readAll());
}

} // namespace kettrik
