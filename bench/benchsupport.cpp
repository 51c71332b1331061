#include "benchsupport.h"

#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QTimer>

#include <sys/resource.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>

namespace BenchSupport {

std::optional<uint32_t> frameSequence(const QImage &frame)
{
    const QImage rgb = frame.format() == QImage::Format_RGB888
                           ? frame
                           : frame.convertToFormat(QImage::Format_RGB888);
    const int strip = rgb.height() / 16;
    if (strip < 1 || rgb.width() < 64)
        return std::nullopt;
    const uchar *row = rgb.constScanLine(strip / 2);
    uint32_t sequence = 0;
    for (int cell = 0; cell < 32; ++cell) {
        const int x = int((qint64(rgb.width()) * (2 * cell + 1)) / 64);
        sequence = (sequence << 1) | (row[3 * x] >= 128 ? 1u : 0u);
    }
    return sequence;
}

double percentile(const std::vector<double> &sorted, double fraction)
{
    const size_t index = size_t(fraction * double(sorted.size() - 1) + 0.5);
    return sorted[std::min(index, sorted.size() - 1)];
}

QMap<QString, ThreadCpu> threadCpu()
{
    QMap<QString, ThreadCpu> threads;
    const double tick = double(sysconf(_SC_CLK_TCK));
    const QDir tasks(QStringLiteral("/proc/self/task"));
    for (const QString &tid : tasks.entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        QFile stat(tasks.filePath(tid + QStringLiteral("/stat")));
        if (!stat.open(QIODevice::ReadOnly))
            continue;
        const QByteArray line = stat.readAll();
        // The name stands in parentheses and may hold spaces; utime and stime are the 12th and
        // 13th fields after it.
        const qsizetype open = line.indexOf('('), close = line.lastIndexOf(')');
        const QList<QByteArray> fields = line.mid(close + 2).split(' ');
        if (open < 0 || close < 0 || fields.size() < 13)
            continue;
        threads[tid] = {QString::fromUtf8(line.mid(open + 1, close - open - 1)),
                        (fields[11].toDouble() + fields[12].toDouble()) / tick};
    }
    return threads;
}

double processCpuSeconds()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    auto seconds = [](const timeval &t) {
        return double(t.tv_sec) + double(t.tv_usec) / 1e6;
    };
    return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

void runEventLoop(int milliseconds)
{
    QEventLoop loop;
    QTimer::singleShot(milliseconds, Qt::PreciseTimer, &loop, &QEventLoop::quit);
    loop.exec();
}

int positiveArgument(int argc, char *argv[], int index, int fallback)
{
    return argc > index ? std::max(1, std::atoi(argv[index])) : fallback;
}

} // namespace BenchSupport
