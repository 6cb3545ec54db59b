#pragma once

#include "backupcore/BackupResult.h"

#include <QString>
#include <QStringList>

// What the backup window and its help say.
namespace corvane::backupTexts {

QString title();
QString helpTitle();
QString helpHeading();
// The help's paragraphs, top to bottom.
QStringList helpParagraphs();

QString driveUnreadable();
// The refusals of a destination name: none, one that must not reach the file
// system (empty when it is safe), one already there.
QString nameNeeded();
QString unsafeName(const QString& name);
QString folderExists(const QString& name);

QString done();
// A failed backup: where it stopped, why when the name was refused, and where
// the copied part is.
QString failure(const backup::Result& result);

}  // namespace corvane::backupTexts
