// Temporary bodies; the record store replaces this file.
#include "records/record_store.h"

#include "app/folder_path.h"
#include "app/shared_state.h"

QString resultFilePath(const SharedState& s) { return nativePath(s.recordsFolder + QStringLiteral("成績累積データ.dat")); }
QString sharedLogPath(const SharedState& s) { return nativePath(s.dataFolder + QStringLiteral("成績累積データ家庭用.dat")); }
bool Seisekikiroku(SharedState&, Services&, int) { return true; }
bool 成績ランダムファイル記録(SharedState&, Services&) { return true; }
bool 成績ランダムファイル表示(SharedState&, Services&) { return true; }
bool 回数求(SharedState&, Services&) { return true; }
