// A soak of the reader in one process: 1,000 searches, each followed by a
// reset, and 10,000 moves through the title grid, all through the real
// buttons and keys. Prints how much the resident memory and the heap grew
// after a warm-up of the same work; the goal is under 1 MB. Asserts nothing.
#include "forms/Unit2.h"
#include "benchtable.h"
#include "program.h"
#include "readerapplication.h"

#include <QTest>

#include <malloc.h>

#include <cstdio>
#include <fstream>
#include <string>

namespace {

constexpr int warmUpRounds = 100;
constexpr int rounds = 1000;
constexpr int movesPerRound = 10;

long residentKilobytes()
{
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);)
        if (line.rfind("VmRSS:", 0) == 0)
            return std::stol(line.substr(6));
    return -1;
}

double heapKilobytes()
{
    return double(mallinfo2().uordblks) / 1024.0;
}

const QStringList terms = {QStringLiteral("kék"), QStringLiteral("idő"), QStringLiteral("a"),
                           QStringLiteral("xyz"), QString(),           QStringLiteral("KÉK"),
                           QStringLiteral("_"),   QStringLiteral("'"), QStringLiteral("szív%dal")};

// One search, its moves through what it found, a reset, and moves through
// every poem: three moves down the grid and two back up each time.
void round(TForm1 &form, int number)
{
    const auto moves = [&] {
        for (int move = 0; move < movesPerRound / 2; ++move)
            QTest::keyClick(form.DBGrid1, move < 3 ? Qt::Key_Down : Qt::Key_Up);
        QCoreApplication::processEvents(); // paints, and the busy cursor's reset
    };
    form.Keress1->trigger();
    form.Edit1->setText(terms[number % terms.size()]);
    QTest::mouseClick(form.BitBtn1, Qt::LeftButton);
    moves();
    form.Keress1->trigger();
    QTest::mouseClick(form.BitBtn2, Qt::LeftButton);
    moves();
}

} // namespace

int main(int argc, char *argv[])
{
    ReaderApplication application(argc, argv);

    StartedProgram run;
    TForm1 &form = run.program.form;
    for (int number = 0; number < warmUpRounds; ++number)
        round(form, number);
    const long residentBefore = residentKilobytes();
    const double heapBefore = heapKilobytes();
    for (int number = 0; number < rounds; ++number)
        round(form, number);
    const long residentGrowth = residentKilobytes() - residentBefore;
    const double heapGrowth = heapKilobytes() - heapBefore;

    std::printf("soak: %d searches and resets, %d moves after a warm-up of %d rounds\n", rounds,
                rounds * movesPerRound, warmUpRounds);
    std::printf("resident memory %ld KiB -> growth %ld KiB; heap in use growth %.1f KiB\n", residentBefore,
                residentGrowth, heapGrowth);
    benchtable::limitRow("soak: resident memory growth after warm-up", double(residentGrowth), "KiB", 1024);
    benchtable::limitRow("soak: heap in use growth after warm-up", heapGrowth, "KiB", 1024);
    return 0;
}
