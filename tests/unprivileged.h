#pragma once
// Cases about file permissions run as an ordinary user: root writes through
// any permission, and the tests run as root in CI. As root, such a case is
// run once more by a copy of this test program as `nobody` (setpriv, from
// util-linux), and its outcome is the case's outcome. The copy stands in a
// folder that nobody may read but not write, as an installed program does.
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>
#include <unistd.h>

namespace unprivileged {

struct Outcome {
    bool here = true; // not root: run the case in this process
    QString skipped;  // why it could not run unprivileged
    bool passed = false;
    QString output;
};

inline Outcome runAsNobody()
{
    Outcome outcome;
    if (::geteuid() != 0)
        return outcome;
    outcome.here = false;
    const QString setpriv = QStandardPaths::findExecutable(QStringLiteral("setpriv"));
    if (setpriv.isEmpty()) {
        outcome.skipped = QStringLiteral("running as root without setpriv (util-linux): permissions cannot be tried");
        return outcome;
    }
    QTemporaryDir place;
    const QString program = place.filePath(QCoreApplication::applicationName());
    const QDir base(place.path());
    for (const char *sub : {"home", "cache", "work"})
        base.mkdir(QString::fromLatin1(sub));
    if (!QFile::copy(QCoreApplication::applicationFilePath(), program)
        || !QFile::setPermissions(place.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner
                                                    | QFile::ReadOther | QFile::ExeOther | QFile::ReadGroup
                                                    | QFile::ExeGroup)) {
        outcome.skipped = QStringLiteral("could not copy the test program for the unprivileged user");
        return outcome;
    }
    const auto everyone = QFile::Permissions(0x7777);
    for (const char *sub : {"home", "cache", "work"})
        QFile::setPermissions(base.filePath(QString::fromLatin1(sub)), everyone);

    QProcess child;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("HOME"), base.filePath(QStringLiteral("home")));
    env.insert(QStringLiteral("XDG_CACHE_HOME"), base.filePath(QStringLiteral("cache")));
    env.remove(QStringLiteral("XDG_RUNTIME_DIR"));
    child.setProcessEnvironment(env);
    child.setWorkingDirectory(base.filePath(QStringLiteral("work")));
    child.setProcessChannelMode(QProcess::MergedChannels);
    QString testCase = QString::fromLatin1(QTest::currentTestFunction());
    if (const char *tag = QTest::currentDataTag(); tag && *tag)
        testCase += QLatin1Char(':') + QString::fromUtf8(tag);
    child.start(setpriv, {QStringLiteral("--reuid=nobody"), QStringLiteral("--regid=nogroup"),
                          QStringLiteral("--clear-groups"), program, testCase});
    child.waitForFinished(60000);
    outcome.output = QString::fromLocal8Bit(child.readAll());
    if (outcome.output.startsWith(QLatin1String("setpriv:"))) {
        outcome.skipped = QStringLiteral("cannot become nobody here: ") + outcome.output.trimmed();
        return outcome;
    }
    // The case's own verdict line, not that of initTestCase or cleanupTestCase.
    const QString verdict = QStringLiteral("::%1(").arg(QString::fromLatin1(QTest::currentTestFunction()));
    for (const QString &line : outcome.output.split(QLatin1Char('\n'))) {
        if (!line.contains(verdict))
            continue;
        if (line.startsWith(QLatin1String("SKIP   : ")))
            outcome.skipped = line;
        if (line.startsWith(QLatin1String("PASS   : ")))
            outcome.passed = child.exitStatus() == QProcess::NormalExit && child.exitCode() == 0;
    }
    return outcome;
}

} // namespace unprivileged

// At the top of a case: as root, runs the case as nobody and ends it here
// with that outcome (skipped, with the reason, when that is not possible).
#define RUN_UNPRIVILEGED()                                                                                  \
    do {                                                                                                    \
        const unprivileged::Outcome outcome_ = unprivileged::runAsNobody();                                 \
        if (outcome_.here)                                                                                  \
            break;                                                                                          \
        if (!outcome_.skipped.isEmpty())                                                                    \
            QSKIP(qPrintable(outcome_.skipped));                                                            \
        QVERIFY2(outcome_.passed, qPrintable(QStringLiteral("as nobody:\n") + outcome_.output));           \
        return;                                                                                             \
    } while (false)
