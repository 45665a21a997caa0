// How long the detail window takes to show the longest poem when the reader
// steps onto it with "next", against the least any program can do: a bare
// QPlainTextEdit of the same size and font given the same text. Both are
// shown and painted each round. Prints medians and the ratio; asserts nothing.
#include "forms/Unit1.h"
#include "forms/Unit2.h"
#include "benchtable.h"
#include "readerapplication.h"
#include "termination.h"

#include <QDir>
#include <QElapsedTimer>
#include <QPlainTextEdit>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

constexpr int rounds = 15;

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

template <typename Step>
double millisecondsOf(QWidget &painted, Step step)
{
    QElapsedTimer timer;
    timer.start();
    step();
    painted.repaint();
    return double(timer.nsecsElapsed()) / 1e6;
}

} // namespace

int main(int argc, char *argv[])
{
    ReaderApplication application(argc, argv);
    QTemporaryDir folder;
    QDir::setCurrent(folder.path());

    shell::Termination termination;
    TForm1 form;
    TForm2 detail(form.DataSource1, &form);
    form.setDetailWindow(&detail);
    form.show();
    detail.show();
    store::RecordSet &poems = form.FDQuery1;

    QPlainTextEdit bare;
    bare.setFont(detail.Memo1->font());
    bare.resize(detail.Memo1->size());
    bare.show();

    std::vector<double> reader, baseline;
    for (int round = 0; round < rounds; ++round) {
        poems.goToRecord(7); // AZ 699; the next one is AZ 700
        reader.push_back(millisecondsOf(*detail.Memo1, [&] { poems.next(); }));
        const QString text = detail.Memo1->toPlainText();
        bare.setPlainText(QString());
        baseline.push_back(millisecondsOf(bare, [&] { bare.setPlainText(text); }));
    }
    if (poems.fieldText(QStringLiteral("AZ")) != QStringLiteral("700"))
        std::fprintf(stderr, "warning: the walk did not end on AZ 700\n");

    const double readerMs = median(reader);
    const double bareMs = median(baseline);
    std::printf("next onto the 230,633-character poem: detail window %.1f ms, bare text box %.1f ms, ratio %.2f\n",
                readerMs, bareMs, readerMs / bareMs);
    benchtable::ratioRow("detail window: next onto the longest poem", readerMs, bareMs, "ms");
    return 0;
}
