#include "app/settingsstore.h"
#include "common/uilanguage.h"
#include "support/privatelocations.h"

#include <QTest>

using namespace kelvoro;
using namespace Qt::Literals::StringLiterals;

Q_DECLARE_METATYPE(kelvoro::UiLanguage)
Q_DECLARE_METATYPE(kelvoro::LanguageChoice)

class TestLanguage : public QObject {
    Q_OBJECT

    test::PrivateLocations m_locations;

private Q_SLOTS:
    void fromTheSession_data() {
        QTest::addColumn<QString>("language");
        QTest::addColumn<QString>("lcAll");
        QTest::addColumn<QString>("lcMessages");
        QTest::addColumn<QString>("lang");
        QTest::addColumn<UiLanguage>("expected");
        const auto J = UiLanguage::Japanese;
        const auto E = UiLanguage::English;
        QTest::newRow("nothing set") << u""_s << u""_s << u""_s << u""_s << J;
        QTest::newRow("C") << u""_s << u""_s << u""_s << u"C"_s << J;
        QTest::newRow("C.UTF-8") << u""_s << u""_s << u""_s << u"C.UTF-8"_s << J;
        QTest::newRow("POSIX") << u""_s << u""_s << u""_s << u"POSIX"_s << J;
        QTest::newRow("Japanese") << u""_s << u""_s << u""_s << u"ja_JP.UTF-8"_s << J;
        QTest::newRow("Japanese, no territory") << u""_s << u""_s << u""_s << u"ja"_s << J;
        QTest::newRow("English") << u""_s << u""_s << u""_s << u"en_US.UTF-8"_s << E;
        QTest::newRow("German") << u""_s << u""_s << u""_s << u"de_DE.UTF-8"_s << E;
        QTest::newRow("Javanese is not Japanese") << u""_s << u""_s << u""_s << u"jv_ID"_s << E;
        QTest::newRow("three-letter code") << u""_s << u""_s << u""_s << u"jam_JM"_s << E;
        QTest::newRow("LANGUAGE first Japanese")
            << u"ja:en"_s << u""_s << u""_s << u"en_US.UTF-8"_s << J;
        QTest::newRow("LANGUAGE first English")
            << u"en_GB:ja"_s << u""_s << u""_s << u"ja_JP.UTF-8"_s << E;
        QTest::newRow("LANGUAGE empty entries skipped")
            << u"::ja_JP"_s << u""_s << u""_s << u"de_DE"_s << J;
        QTest::newRow("LANGUAGE ignored in a C locale")
            << u"en_US"_s << u""_s << u""_s << u"C.UTF-8"_s << J;
        QTest::newRow("LC_ALL before LANG")
            << u""_s << u"en_US.UTF-8"_s << u""_s << u"ja_JP.UTF-8"_s << E;
        QTest::newRow("LC_ALL=C before an English LANG")
            << u""_s << u"C"_s << u""_s << u"en_US.UTF-8"_s << J;
        QTest::newRow("LC_MESSAGES before LANG")
            << u""_s << u""_s << u"ja_JP.UTF-8"_s << u"en_US.UTF-8"_s << J;
        QTest::newRow("LC_ALL before LC_MESSAGES")
            << u""_s << u"fr_FR.UTF-8"_s << u"ja_JP.UTF-8"_s << u""_s << E;
        QTest::newRow("modifier") << u""_s << u""_s << u""_s << u"ja_JP@cjknarrow"_s << J;
    }
    void fromTheSession() {
        QFETCH(QString, language);
        QFETCH(QString, lcAll);
        QFETCH(QString, lcMessages);
        QFETCH(QString, lang);
        QFETCH(UiLanguage, expected);
        const LocaleEnvironment e{language, lcAll, lcMessages, lang};
        QCOMPARE(sessionLanguage(e), expected);
        QCOMPARE(chooseLanguage(LanguageChoice::System, e), expected);
        // A choice of the user's own wins over any session.
        QCOMPARE(chooseLanguage(LanguageChoice::Japanese, e), UiLanguage::Japanese);
        QCOMPARE(chooseLanguage(LanguageChoice::English, e), UiLanguage::English);
    }

    void currentEnvironmentIsRead() {
        qputenv("LANGUAGE", "en:ja");
        qputenv("LC_ALL", "");
        qputenv("LC_MESSAGES", "de_DE.UTF-8");
        qputenv("LANG", "ja_JP.UTF-8");
        const LocaleEnvironment e = LocaleEnvironment::current();
        QCOMPARE(e.language, u"en:ja"_s);
        QCOMPARE(e.lcMessages, u"de_DE.UTF-8"_s);
        QCOMPARE(e.lang, u"ja_JP.UTF-8"_s);
        QCOMPARE(sessionLanguage(e), UiLanguage::English);
    }

    void choiceIsStored_data() {
        QTest::addColumn<LanguageChoice>("choice");
        QTest::newRow("system") << LanguageChoice::System;
        QTest::newRow("Japanese") << LanguageChoice::Japanese;
        QTest::newRow("English") << LanguageChoice::English;
    }
    void choiceIsStored() {
        QFETCH(LanguageChoice, choice);
        {
            SettingsStore settings;
            settings.setLanguageChoice(choice);
            settings.sync();
        }
        QCOMPARE(SettingsStore().languageChoice(), choice);
        QCOMPARE(languageChoiceFromKey(languageChoiceKey(choice)), choice);
    }

    void unknownStoredChoiceFollowsTheSystem() {
        QCOMPARE(languageChoiceFromKey(u""_s), LanguageChoice::System);
        QCOMPARE(languageChoiceFromKey(u"fr"_s), LanguageChoice::System);
        QCOMPARE(languageChoiceFromKey(u"JA"_s), LanguageChoice::System);
        QSettings(QSettings::NativeFormat, QSettings::UserScope, u"Hollenby"_s, u"Kelvoro"_s)
            .setValue(u"Interface/language"_s, 7);
        QCOMPARE(SettingsStore().languageChoice(), LanguageChoice::System);
    }
};

QTEST_GUILESS_MAIN(TestLanguage)
#include "tst_language.moc"
