#pragma once

#include <QCoreApplication>
#include <QDir>
#include <QFile>

// Children of this process that have ended and were never reaped.
inline int zombieChildren() {
    int zombies = 0;
    const QString self = QString::number(QCoreApplication::applicationPid());
    for (const QString& pid : QDir("/proc").entryList({"[0-9]*"}, QDir::Dirs)) {
        QFile stat("/proc/" + pid + "/stat");
        if (!stat.open(QIODevice::ReadOnly)) {
            continue;
        }
        // pid (comm) state ppid ...; comm may hold spaces, so read after its last ')'.
        const QString line = QString::fromLatin1(stat.readAll());
        const QStringList fields = line.mid(line.lastIndexOf(u')') + 2).split(u' ');
        zombies += fields.size() > 1 && fields[0] == "Z" && fields[1] == self ? 1 : 0;
    }
    return zombies;
}
