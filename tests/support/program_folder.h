#pragma once
// A folder standing in for the program's for the life of the object: the report layouts beside it as
// the build puts them, and the current directory (layouts and chart pictures resolve against it).

#include "support/fixture_db.h"

#include <QDir>
#include <QFile>

namespace nc::test {

class ProgramFolder {
public:
    enum class Layouts { All, None };
    explicit ProgramFolder(const QString& folder, Layouts layouts = Layouts::All)
        : folder_(folder), previous_(QDir::currentPath()) {
        if (layouts == Layouts::All)
            for (const char* sub : {"/person/layouts", "/analysis/layouts"}) {
                const QDir from(sourceDir() + QString::fromLatin1(sub));
                for (const QString& layout : from.entryList({QStringLiteral("*.rav")}, QDir::Files))
                    QFile::copy(from.filePath(layout), file(layout));
            }
        QDir::setCurrent(folder_);
    }
    ~ProgramFolder() { QDir::setCurrent(previous_); }
    ProgramFolder(const ProgramFolder&) = delete;
    ProgramFolder& operator=(const ProgramFolder&) = delete;

    QString file(const QString& name) const { return QDir(folder_).filePath(name); }

private:
    QString folder_;
    QString previous_;
};

} // namespace nc::test
