// Saves the roster again and again, as the editor's "変更" does, alternating
// two names in row 1, until it is killed:  roster_save_helper ROSTER_PATH
// Prints "ready" once the first save is complete.
#include "base/text_file.h"
#include "roster/roster_edit.h"

#include <QCoreApplication>
#include <cstdio>

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    if (argc != 2) return 2;
    const QString path = QString::fromLocal8Bit(argv[1]);
    for (unsigned i = 0;; ++i) {
        const EditorRead read = readEditorRows(path);
        if (!read.opened || read.rows.size() < 3) return 3;
        std::array<RowEdit, kEditorRows> edits;
        for (std::size_t r = 0; r < 3; ++r)
            edits[r] = {read.rows[r].record.name, QString::number(read.rows[r].record.birthYear)};
        edits[0].name = i % 2 ? QStringLiteral("もとの　なまえ") : QStringLiteral("あたらしい　なまえ");
        const RosterRewrite w = rewriteRoster(read.rows, edits);
        if (!w.error.isEmpty() || !writeTextFileAtomic(path, w.text)) return 4;
        if (i == 0) {
            std::puts("ready");
            std::fflush(stdout);
        }
    }
}
