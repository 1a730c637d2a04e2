#include "drill/main_frm.h"

MainFrm::MainFrm(App& app) : Screen(app, QStringLiteral("MainFrm")) {}
