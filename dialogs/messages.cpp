// SPDX-License-Identifier: GPL-3.0-or-later
#include "dialogs/messages.h"

#include "platform/mvolctrl.h"

#include <QMessageBox>

namespace DialogMessages {

void Warn(QWidget *parent, const QString &text)
{
    QMessageBox::warning(parent, QStringLiteral("Zubelo"), text);
}

void SaveFailed(QWidget *parent, const Options::SaveResult &result)
{
    QString text;
    if (result.status == Options::SaveResult::CannotHold) {
        text = CannotHoldText(result.detail);
    } else {
        text = QStringLiteral("設定をﾌｧｲﾙに保存できませんでした。\n  ") + Options::OptionFilePath()
               + QStringLiteral("\n  ") + result.detail;
    }
    Warn(parent, text + QStringLiteral("\n今の設定はこのまま使えますが、保存されたﾌｧｲﾙは以前のままです。"));
}

QString CannotHoldText(const QString &name)
{
    return QStringLiteral("ﾌｧｲﾙ名に設定ﾌｧｲﾙに保存できない文字が含まれています。\n  ") + name
           + QStringLiteral("\n別の名前のﾌｧｲﾙを設定してください。");
}

void MixerError(QWidget *parent, int code)
{
    if (code != mVolCtrl::MMSYSERR_NOERROR) {
        Warn(parent, mVolCtrl::MixerErrorText(code));
    }
}

} // namespace DialogMessages
