#pragma once

#include <QList>
#include <QString>

// What the drive list offers: drive letters where the system has them, the
// mounted volumes' roots elsewhere.
namespace corvane::drives {

struct Volume {
    QString root;   // with '/' separators and a trailing '/'
    QString label;  // the volume's name, may be empty
};

QList<Volume> systemVolumes();
// The volume holding path, as one of the volumes' roots when it is listed.
QString rootOf(const QString& path, const QList<Volume>& volumes);
// "c: [DADOS]" on drive-letter systems, "/media/x [DADOS]" elsewhere.
QString caption(const Volume& volume);
// Whether a volume's root can be listed now (a medium is in, the device is ready).
bool readable(const QString& root);

}  // namespace corvane::drives
