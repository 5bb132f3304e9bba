#include "common/fileerrortext.h"

#include <QCoreApplication>

namespace kelvoro {

QString fileErrorText(platform::FileErrorCause cause, const QString& path) {
    using C = platform::FileErrorCause;
    const QString shown =
        path.isEmpty() ? QCoreApplication::translate("kelvoro::fileErrorText", "無題のファイル")
                       : path;
    const char* text = QT_TRANSLATE_NOOP("kelvoro::fileErrorText",
                                         "%1 へのアクセス中に不明なエラーが発生しました。");
    switch (cause) {
    case C::Generic:
        break;
    case C::FileNotFound:
        text = QT_TRANSLATE_NOOP("kelvoro::fileErrorText", "%1 が見つかりませんでした。");
        break;
    case C::BadPath:
        text = QT_TRANSLATE_NOOP("kelvoro::fileErrorText", "%1 には無効なパスが含まれています。");
        break;
    case C::AccessDenied:
        text = QT_TRANSLATE_NOOP("kelvoro::fileErrorText", "%1 へのアクセスは拒否されました。");
        break;
    case C::SharingViolation:
        text = QT_TRANSLATE_NOOP("kelvoro::fileErrorText",
                                 "%1 へのアクセス中に共有違反が発生しました。");
        break;
    case C::LockViolation:
        text = QT_TRANSLATE_NOOP("kelvoro::fileErrorText",
                                 "%1 へのアクセス中にロック違反が発生しました。");
        break;
    case C::DiskFull:
        text = QT_TRANSLATE_NOOP("kelvoro::fileErrorText",
                                 "%1 へのアクセス中にディスクがいっぱいになりました。");
        break;
    case C::HardwareIo:
        text = QT_TRANSLATE_NOOP("kelvoro::fileErrorText",
                                 "%1 へのアクセス中にハードウェア I/O エラーが報告されました。");
        break;
    case C::NotSupported:
        text = QT_TRANSLATE_NOOP(
            "kelvoro::fileErrorText",
            "%1 の作成日時または属性は、このファイルシステムでは変更できません。");
        break;
    case C::Replaced:
        return QCoreApplication::translate("kelvoro::fileErrorText",
                                           "%1 は一覧に追加された後で置き換えられました。")
            .arg(shown);
    }
    return QCoreApplication::translate("kelvoro::fileErrorText", text).arg(shown);
}

QString displayPath(const QByteArray& path) {
    return QString::fromLocal8Bit(path);
}

} // namespace kelvoro
