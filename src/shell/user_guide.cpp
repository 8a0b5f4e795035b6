#include "shell/user_guide.h"

#include <QDir>
#include <QFileInfo>

namespace zorel {

QString UserGuidePath(const QString& programDir) {
  const QDir dir(programDir);
  for (const char* place : {"../share/zorel/guide/index.html", "share/zorel/guide/index.html"}) {
    const QFileInfo guide(dir.filePath(QString::fromLatin1(place)));
    if (guide.isFile()) return guide.canonicalFilePath();
  }
  return {};
}

}  // namespace zorel
