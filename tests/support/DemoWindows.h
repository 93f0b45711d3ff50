// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "LoadFiles.h"
#include "ScriptedPrompt.h"
#include "Selector.h"
#include "SelectorWindows.h"
#include "TestFolders.h"
#include "VEKForm.h"

#include <QFile>
#include <QTest>

/// The windows on test folders (the demo's unless told otherwise), started as on a later run of
/// the same VEK folder; `answers` are the player's to the questions asked. The instance lock is
/// kept in the test's own folder, so each test starts with none.
struct DemoWindows {
    explicit DemoWindows(TestFolders::Content content = TestFolders::Demo, QList<bool> answers = {})
        : f(content), prompt(std::move(answers)) {
        qputenv("VEK_INSTANCE_LOCK",
                QFile::encodeName(f.root() + QStringLiteral("/instance.lock")));
    }
    TestFolders f;
    ScriptedPrompt prompt;
    SelectorWindows windows{&prompt};

    bool start() {
        f.rememberVek();
        return windows.start(f.game());
    }
    VEKForm *form() const { return windows.vekForm(); }
    Selector &s() const { return *windows.selector(); }
    /// Loads a content folder as a click on its row does, and shows the result.
    void load(const QString &folder) {
        QVERIFY(s().loadFiles().click(s().Unigrid.find(folder)));
        form()->refresh();
    }
    /// The main window at `size`, on the screen.
    void expose(QSize size) {
        form()->resize(size);
        QVERIFY(QTest::qWaitForWindowExposed(form()));
    }
};
