#include "results/frm_syuuryou.h"

FrmSyuuryou::FrmSyuuryou(App& app) : Screen(app, QStringLiteral("FrmSyuuryou")) {}
