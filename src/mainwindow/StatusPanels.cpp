#include "mainwindow/StatusPanels.h"

#include "platform/Twips.h"

#include <QLabel>
#include <QStatusBar>

namespace {
// The path and the messages take the room there is; the others keep their widths.
constexpr int PathTwips = 1440;
constexpr int MessageTwips = 100;
constexpr int KeyTwips = 640;
constexpr int VersionTwips = 1440;

QLabel *panel(QStatusBar *bar, const char *name, const QString &text, int twips, bool stretches)
{
    auto *label = new QLabel(text);
    label->setObjectName(QLatin1String(name));
    label->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    if (stretches) {
        label->setMinimumWidth(Twips::toPixels(twips));
        bar->addPermanentWidget(label, 1);
    } else {
        label->setFixedWidth(Twips::toPixels(twips));
        label->setAlignment(text.isEmpty() ? Qt::AlignLeft | Qt::AlignVCenter : Qt::AlignCenter);
        bar->addPermanentWidget(label);
    }
    return label;
}
}

StatusPanels::StatusPanels(QStatusBar *bar)
    : path(panel(bar, "pnlPath", {}, PathTwips, true))
    , message(panel(bar, "pnlMessage", {}, MessageTwips, true))
    , capsLock(panel(bar, "pnlCaps", QStringLiteral("CAPS"), KeyTwips, false))
    , numLock(panel(bar, "pnlNum", QStringLiteral("NUM"), KeyTwips, false))
    , insert(panel(bar, "pnlInsert", QStringLiteral("INS"), KeyTwips, false))
    , version(panel(bar, "pnlVersion", {}, VersionTwips, false))
{
    bar->setObjectName(QStringLiteral("tlbTools"));
}

void StatusPanels::showKeys(bool capsLockOn, bool numLockOn, bool insertOn)
{
    capsLock->setEnabled(capsLockOn);
    numLock->setEnabled(numLockOn);
    insert->setEnabled(insertOn);
}
