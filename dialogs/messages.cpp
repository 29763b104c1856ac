// SPDX-License-Identifier: GPL-3.0-or-later
#include "messages.h"

#include <QMessageBox>

namespace DialogMessages {

void warn(QWidget *parent, const QString &text)
{
    QMessageBox::warning(parent, QStringLiteral("Zubelo"), text);
}

void saveFailed(QWidget *parent, const QString &file, const Settings::SaveResult &result)
{
    QString text;
    if (result.status == Settings::SaveResult::CannotHold) {
        text = cannotHoldText(result.detail);
    } else {
        text = QStringLiteral("設定をﾌｧｲﾙに保存できませんでした。\n  ") + file + QStringLiteral("\n  ")
               + result.detail;
    }
    warn(parent, text + QStringLiteral("\n今の設定はこのまま使えますが、保存されたﾌｧｲﾙは以前のままです。"));
}

QString cannotHoldText(const QString &name)
{
    return QStringLiteral("ﾌｧｲﾙ名に設定ﾌｧｲﾙに保存できない文字が含まれています。\n  ") + name
           + QStringLiteral("\n別の名前のﾌｧｲﾙを設定してください。");
}

QString mixerErrorText(SpeakerVolume::Error error)
{
    using Error = SpeakerVolume::Error;
    QString message;
    switch (error) {
    case Error::None: return QString();
    case Error::BadDevice: message = QStringLiteral("指定されたデバイスIDは無効です。"); break;
    case Error::Busy: message = QStringLiteral("指定リソースはすでに割り当て済みです。"); break;
    case Error::BadHandle: message = QStringLiteral("指定されたハンドルは無効です。"); break;
    case Error::NoDevice: message = QStringLiteral("利用可能なミキサーデバイスがありません。"); break;
    case Error::NoMemory: message = QStringLiteral("リソースを割り当てることはできません｡"); break;
    case Error::BadFlags: message = QStringLiteral("1つ以上の無効なフラグがあります。"); break;
    case Error::BadParameter: message = QStringLiteral("1つ以上の無効なパラメータがあります。"); break;
    }
    return u'[' + QString::number(int(error)) + QStringLiteral("] ") + message;
}

void mixerError(QWidget *parent, SpeakerVolume::Error error)
{
    if (error != SpeakerVolume::Error::None) {
        warn(parent, mixerErrorText(error));
    }
}

} // namespace DialogMessages
