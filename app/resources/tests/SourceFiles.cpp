#include "SourceFiles.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QXmlStreamReader>

namespace sourcefiles {

QString appPath(const QString& relative) {
    return QStringLiteral(VARNU_APP_SOURCE_DIR "/") + relative;
}

QStringList appFiles(const QString& suffix) {
    const QDir root(QStringLiteral(VARNU_APP_SOURCE_DIR));
    QStringList files;
    QDirIterator it(root.path(), QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString relative = root.relativeFilePath(it.next());
        if (relative.endsWith(suffix) && !relative.split(QLatin1Char('/')).contains("tests")) {
            files << relative;
        }
    }
    files.sort();
    return files;
}

QMap<QString, QStringList> resourcePaths() {
    QMap<QString, QStringList> paths;
    for (const QString& qrc : appFiles(QStringLiteral(".qrc"))) {
        QFile file(appPath(qrc));
        if (!file.open(QIODevice::ReadOnly)) {
            continue;
        }
        QXmlStreamReader xml(&file);
        QString prefix;
        while (!xml.atEnd()) {
            if (xml.readNext() != QXmlStreamReader::StartElement) {
                continue;
            }
            if (xml.name() == QLatin1String("qresource")) {
                prefix = xml.attributes().value(QStringLiteral("prefix")).toString();
                if (!prefix.endsWith(QLatin1Char('/'))) {
                    prefix += QLatin1Char('/');
                }
            } else if (xml.name() == QLatin1String("file")) {
                const QString alias = xml.attributes().value(QStringLiteral("alias")).toString();
                const QString name = xml.readElementText();
                paths[QLatin1Char(':') + prefix + (alias.isEmpty() ? name : alias)] << qrc;
            }
        }
    }
    return paths;
}

QStringList translationSources() {
    return QString::fromUtf8(VARNU_TS_FILES).split(QLatin1Char('|'), Qt::SkipEmptyParts);
}

}  // namespace sourcefiles
