// The configuration file: the port line rules, where the file lives, the
// start-up read and the write when a port is chosen.

#include "Files.h"
#include "GuiFixture.h"
#include "core/files/Configuration.h"
#include "core/files/DataFile.h"
#include "core/files/TextLines.h"
#include "gui/shell/MainWindow.h"

using namespace kpr5;
using namespace kpr5::test;

class ConfigurationTest : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;
    QString m_ini;

private Q_SLOTS:
    void init() {
        m_ini = m_dir.filePath(QStringLiteral("KPR5Writer.INI"));
        QFile::remove(m_ini);
        config::setConfigurationPath(m_ini);
    }
    void cleanup() { config::setConfigurationPath(QString()); }

    // The first line that starts with "CO" holds the port, 1 to 16 in two digits.
    void portLine() {
        // The port read, then the file.
        for (const char *c :
             {"1 x\r\nCOMPORT3\r\n", "12 x\r\nCOMPORT12\r\nFile End\r\n", "1 COMPORT01\r\n",
              "16 h\nCOMPORT16\n", "1 COMPORT00\r\n", "1 COMPORT17\r\n", "1 COMPORT1x\r\n",
              "1 COMPORT012\r\n", "12 COMMENT12\r\nCOMPORT05\r\n", "1 File End\r\n", "1 "}) {
            const QByteArray bytes = QByteArray(c).mid(QByteArray(c).indexOf(' ') + 1);
            const int port = atoi(c);
            QVERIFY2(config::parseConfiguration(bytes).comPort == port, c);
            writeFile(m_ini, bytes);
            QVERIFY2(config::readConfiguration(m_ini).comPort == port, c);
        }
    }

    // The file holds the port, the device, the backup count and the image,
    // and opens as a data file.
    void writtenFileHoldsTheImage() {
        RadioDocument doc;
        doc.channels.setText(5, 12, QStringLiteral("ON SCREEN"));
        doc.channels.setText(5, 1, QStringLiteral("145.00000MHz"));
        doc.channels.setInUse(4, 1);
        QString error;
        config::PortChoice written;
        written.comPort = 7;
        written.devicePath = QStringLiteral("/dev/serial/by-id/usb-Ä B");
        written.keepBackups = 30; // a number set by hand survives the rewrite
        QVERIFY(config::writeConfiguration(doc, written, m_ini, &error));
        const QStringList lines = textfile::decodeLines(readFile(m_ini));
        QCOMPARE(lines.last(), QStringLiteral("File End"));
        // The device line follows the port line, so the port line is still the
        // first line that starts with "CO".
        QVERIFY(lines.at(lines.indexOf(QStringLiteral("COMPORT07")) + 1).startsWith("DEVICE"));
        const config::PortChoice choice = config::readConfiguration(m_ini);
        QCOMPARE(choice.comPort, 7);
        QCOMPARE(choice.devicePath, written.devicePath);
        QCOMPARE(choice.keepBackups, 30);
        RadioDocument back;
        QVERIFY(readDataFile(back, readFile(m_ini)).ok());
        QCOMPARE(back.channels.text(5, 12), QStringLiteral("ON SCREEN"));
        QCOMPARE(config::readConfiguration(m_dir.filePath("missing.INI")).comPort, 1);
    }

    void whereTheFileLives() {
        QCOMPARE(config::configurationPath(), m_ini);
        config::setConfigurationPath(QString());
        // A test program never touches the user's configuration.
        QCOMPARE(config::configurationPath(), QString());
        const QString name = QCoreApplication::applicationName();
        QCoreApplication::setApplicationName(QStringLiteral("kpr5"));
        // The build folder is writable: beside the program.
        const QString path = config::configurationPath();
        const QString program = config::programConfigurationPath();
        const QString user = config::userConfigurationPath();
        QCoreApplication::setApplicationName(name);
        QCOMPARE(path, program);
        QVERIFY(program.endsWith(QStringLiteral("/KPR5Writer.INI")));
        QVERIFY(user.endsWith(QStringLiteral("/KPR5Writer.INI")));
        QVERIFY(QFileInfo(program).absolutePath() == QCoreApplication::applicationDirPath());
    }

    // The window writes the file when a port is chosen and reads it at start-up.
    void choosingAPortWritesTheFile() {
        MessageRecorder messages;
        const auto comAction = [](MainWindow &w, int n) {
            return w.findChild<QAction *>(QStringLiteral("MenuSetCom(%1)").arg(n));
        };
        {
            MainWindow w;
            w.document().channels.setText(7, 12, QStringLiteral("SEEN"));
            w.document().channels.setText(7, 1, QStringLiteral("430.00000MHz"));
            w.document().channels.setInUse(6, 1);
            comAction(w, 5)->trigger();
            const QStringList lines = textfile::decodeLines(readFile(m_ini));
            QVERIFY(lines.contains(QStringLiteral("COMPORT05")));
            QCOMPARE(lines.filter(QStringLiteral("SEEN")).size(), 1);
        }
        {
            MainWindow w;
            QCOMPARE(w.link().portSettings().comPort, 5);
            QVERIFY(comAction(w, 5)->isChecked() && !comAction(w, 1)->isChecked());
            QVERIFY(w.link().portSettings().devicePath.isEmpty());
            w.selectDevicePath(QStringLiteral("/dev/ttyUSB7"));
        }
        {
            MainWindow w;
            QCOMPARE(w.link().portName(), QStringLiteral("/dev/ttyUSB7"));
            QVERIFY(!comAction(w, 5)->isChecked());
            comAction(w, 2)->trigger();
        }
        QCOMPARE(config::readConfiguration(m_ini).comPort, 2);
        QVERIFY(config::readConfiguration(m_ini).devicePath.isEmpty());
        // A file that cannot be written: no message, nothing breaks.
        writeFile(m_dir.filePath(QStringLiteral("plain")), {});
        config::setConfigurationPath(m_dir.filePath(QStringLiteral("plain/KPR5Writer.INI")));
        {
            MainWindow w;
            QCOMPARE(w.link().portSettings().comPort, 1);
            comAction(w, 9)->trigger();
            QCOMPARE(w.link().portSettings().comPort, 9);
        }
        QVERIFY(messages.records.isEmpty());
    }
};

QTEST_MAIN(ConfigurationTest)
#include "tst_configuration.moc"
