#pragma once

#include <QString>

namespace bench {

// What one way of printing cost, measured in a process of its own so that peak memory is its own.
struct BenchRun {
    double seconds = 0.0;
    long peakKib = 0;
    long startKib = 0;
    int pages = 0;

    QString toLine() const;
    static BenchRun fromLine(const QString& line);
};

// The process's peak resident memory so far, in KiB.
long peakResidentKib();

// The pages of a PDF file, counted from its page objects.
int pdfPageCount(const QString& path);

} // namespace bench
