// SPDX-License-Identifier: GPL-3.0-or-later
#include "RunningWindow.h"

#include "InstanceGuard.h"

#include <QCryptographicHash>
#include <QLocalServer>
#include <QLocalSocket>

namespace {
const QByteArray kShow = "show\n";
}

RunningWindow::RunningWindow(QObject *parent) : QObject(parent) {}

RunningWindow::~RunningWindow() = default;

QString RunningWindow::serverName() {
    const QByteArray hash =
        QCryptographicHash::hash(InstanceGuard::lockPath().toUtf8(), QCryptographicHash::Sha256)
            .toHex()
            .left(16);
    return QStringLiteral("vekselector-%1").arg(QString::fromLatin1(hash));
}

bool RunningWindow::listen() {
    if (server_)
        return server_->isListening();
    server_ = new QLocalServer(this);
    server_->setSocketOptions(QLocalServer::UserAccessOption);
    // Only the holder of the instance lock listens: a socket of this name is a crashed one's.
    QLocalServer::removeServer(serverName());
    if (!server_->listen(serverName()))
        return false;
    connect(server_, &QLocalServer::newConnection, this, [this] {
        while (QLocalSocket *socket = server_->nextPendingConnection()) {
            connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
            connect(socket, &QLocalSocket::readyRead, this, [this, socket] {
                if (socket->readAll().contains(kShow))
                    emit showRequested();
                socket->disconnectFromServer();
            });
        }
    });
    return true;
}

bool RunningWindow::askToShow(int timeoutMs) {
    QLocalSocket socket;
    socket.connectToServer(serverName());
    if (!socket.waitForConnected(timeoutMs))
        return false;
    socket.write(kShow);
    return socket.waitForBytesWritten(timeoutMs);
}
