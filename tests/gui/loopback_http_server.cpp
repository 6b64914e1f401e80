#include "gui/loopback_http_server.h"

#include <memory>

#include <QTcpSocket>

namespace kettrik::test {

LoopbackHttpServer::LoopbackHttpServer() {
    if (!server_.listen(QHostAddress::LocalHost, 0)) {
        qFatal("the loopback server could not listen");
    }
    connect(&server_, &QTcpServer::newConnection, this, &LoopbackHttpServer::Accept);
}

QString LoopbackHttpServer::Url(const QString& path) const {
    return QStringLiteral("http://127.0.0.1:%1%2").arg(server_.serverPort()).arg(path);
}

void LoopbackHttpServer::Serve(const QString& path, const QByteArray& body, int status) {
    Behaviour behaviour;
    behaviour.Response = "HTTP/1.1 " + QByteArray::number(status) +
                         " Fixed\r\nContent-Type: text/plain; charset=utf-8\r\nContent-Length: " +
                         QByteArray::number(body.size()) + "\r\nConnection: close\r\n\r\n" + body;
    paths_.insert(path, behaviour);
}

void LoopbackHttpServer::Silent(const QString& path) {
    Behaviour behaviour;
    behaviour.Kind = Behaviour::Silence;
    paths_.insert(path, behaviour);
}

void LoopbackHttpServer::Flood(const QString& path, qint64 bytes) {
    Behaviour behaviour;
    behaviour.Kind = Behaviour::Flood;
    behaviour.Bytes = bytes;
    paths_.insert(path, behaviour);
}

void LoopbackHttpServer::Accept() {
    while (QTcpSocket* socket = server_.nextPendingConnection()) {
        socket->setParent(this);
        auto request = std::make_shared<QByteArray>();
        connect(socket, &QTcpSocket::readyRead, this, [this, socket, request] {
            const bool complete = request->contains("\r\n\r\n");
            request->append(socket->readAll());
            if (!complete && request->contains("\r\n\r\n")) {
                Respond(socket, *request);
            }
        });
    }
}

void LoopbackHttpServer::Respond(QTcpSocket* socket, const QByteArray& request) {
    const QString path = QString::fromLatin1(request.split(' ').value(1));
    requests_ << path;
    const Behaviour behaviour =
        paths_.value(path, Behaviour{Behaviour::Answer,
                                     "HTTP/1.1 404 Not Found\r\nContent-"
                                     "Length: 0\r\nConnection: close\r\n\r\n",
                                     0});
    switch (behaviour.Kind) {
    case Behaviour::Silence:
        return;
    case Behaviour::Answer:
        socket->write(behaviour.Response);
        socket->disconnectFromHost();
        return;
    case Behaviour::Flood: {
        socket->write("HTTP/1.1 200 OK\r\nContent-Type: text/plain\r\nConnection: close\r\n\r\n");
        auto left = std::make_shared<qint64>(behaviour.Bytes);
        const auto more = [socket, left] {
            if (*left > 0 && socket->bytesToWrite() < 65536) {
                const qint64 chunk = std::min<qint64>(*left, 16384);
                socket->write(QByteArray(static_cast<qsizetype>(chunk), 'x'));
                *left -= chunk;
            }
        };
        connect(socket, &QTcpSocket::bytesWritten, socket, more);
        more();
        return;
    }
    }
}

} // namespace kettrik::test
