// A tiny HTTP server on 127.0.0.1 for the tests that fetch news: each path has a fixed
// behaviour (an answer, silence, or a body larger than anyone should read), and the paths
// asked for are recorded. Connections end with the server.
#pragma once

#include <QByteArray>
#include <QHash>
#include <QObject>
#include <QStringList>
#include <QTcpServer>

namespace kettrik::test {

class LoopbackHttpServer : public QObject {
public:
    LoopbackHttpServer();

    // The address of a path on this server.
    QString Url(const QString& path) const;
    void Serve(const QString& path, const QByteArray& body, int status = 200);
    // Accepts the connection and reads the request, then says nothing.
    void Silent(const QString& path);
    // Answers 200 without a length and sends this many bytes.
    void Flood(const QString& path, qint64 bytes);
    const QStringList& Requests() const { return requests_; }

private:
    struct Behaviour {
        enum Kind { Answer, Silence, Flood } Kind = Answer;
        QByteArray Response;
        qint64 Bytes = 0;
    };
    void Accept();
    void Respond(class QTcpSocket* socket, const QByteArray& request);

    QTcpServer server_;
    QHash<QString, Behaviour> paths_;
    QStringList requests_;
};

} // namespace kettrik::test
