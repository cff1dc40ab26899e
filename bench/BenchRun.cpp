#include "BenchRun.h"

#include <QFile>
#include <QRegularExpression>
#include <QStringList>

#include <sys/resource.h>

namespace bench {

QString BenchRun::toLine() const {
    return QStringLiteral("%1 %2 %3 %4")
        .arg(seconds, 0, 'f', 3)
        .arg(peakKib)
        .arg(startKib)
        .arg(pages);
}

BenchRun BenchRun::fromLine(const QString& line) {
    const QStringList fields = line.simplified().split(u' ');
    BenchRun run;
    if (fields.size() != 4)
        return run;
    run.seconds = fields[0].toDouble();
    run.peakKib = fields[1].toLong();
    run.startKib = fields[2].toLong();
    run.pages = fields[3].toInt();
    return run;
}

long peakResidentKib() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

int pdfPageCount(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return 0;
    static const QRegularExpression page(R"(/Type\s*/Page(?![s\w]))");
    return int(QString::fromLatin1(file.readAll()).count(page));
}

} // namespace bench
