// What a screen reader finds in the window: the accessibility tree from the
// top-level window reaches the scene's items (through the view's interface),
// and every item on screen that takes the focus or can be pressed is in it
// with a name, in the language in use. The real window and scene run
// against the simulated keyboard, over a copy of the program's data folder.

#include "app/Widget.h"
#include "app/Ui_Controler.h"
#include "bridge/myQQuickView.h"
#include "CopyTree.h"

#include <q3sim.h>

#include <QAbstractItemModel>
#include <QAccessible>
#include <QDir>
#include <QQuickItem>
#include <QSet>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

namespace {

void ignoreUpdates(QAccessibleEvent*)
{
}

// Every interface below (and with) top, depth first.
void walk(QAccessibleInterface* iface, QList<QAccessibleInterface*>& out, int depth = 0)
{
    if (!iface || !iface->isValid() || depth > 64 || out.size() > 20000)
        return;
    out << iface;
    const int count = iface->childCount();
    for (int i = 0; i < count; ++i)
        walk(iface->child(i), out, depth + 1);
}

// On screen: visible, enabled and not faded out, up to the root.
bool onScreen(const QQuickItem* item)
{
    if (!item->isEnabled())
        return false;
    for (const QQuickItem* at = item; at; at = at->parentItem()) {
        if (!at->isVisible() || at->opacity() <= 0.0)
            return false;
    }
    return true;
}

void focusTakers(QQuickItem* item, QList<QQuickItem*>& out)
{
    if (!item || !item->isVisible())
        return;
    if (item->activeFocusOnTab() && onScreen(item))
        out << item;
    const QList<QQuickItem*> children = item->childItems();
    for (QQuickItem* child : children)
        focusTakers(child, out);
}

QString describe(const QQuickItem* item)
{
    QStringList path;
    for (const QQuickItem* at = item; at; at = at->parentItem()) {
        if (!at->objectName().isEmpty())
            path.prepend(at->objectName());
    }
    return QString::fromLatin1(item->metaObject()->className()) + " " + path.join('/');
}

bool pressable(QAccessibleInterface* iface)
{
    QAccessibleActionInterface* actions = iface->actionInterface();
    return actions && actions->actionNames().contains(QAccessibleActionInterface::pressAction());
}

}

class TestAccessibility : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void cleanupTestCase();

    void itemsAreReachableAndNamed_data();
    void itemsAreReachableAndNamed();
    void rolesStatesAndValuesComeThrough();

private:
    QQuickItem* root() const { return window->controller->view->rootObject(); }
    QQuickItem* item(const char* name) const { return findItem(root(), QString::fromLatin1(name)); }
    static QQuickItem* findItem(QQuickItem* from, const QString& name);
    void setLanguage(const QString& code);
    void showPage(int page);

    QTemporaryDir work;
    std::unique_ptr<Widget> window;
};

QQuickItem* TestAccessibility::findItem(QQuickItem* from, const QString& name)
{
    if (!from)
        return nullptr;
    if (from->objectName() == name)
        return from;
    const QList<QQuickItem*> children = from->childItems();
    for (QQuickItem* child : children) {
        if (QQuickItem* found = findItem(child, name))
            return found;
    }
    return nullptr;
}

void TestAccessibility::initTestCase()
{
    QVERIFY(work.isValid());
    QVERIFY(copyTree(QString::fromLocal8Bit(Q3_BUILD_MODULES), work.path() + "/modules"));
    QVERIFY(QDir::setCurrent(work.path()));
    // No screen reader here: a handler that drops the updates stands in for
    // one, and the tree is built as for one.
    QAccessible::installUpdateHandler(ignoreUpdates);
    QAccessible::setActive(true);

    q3sim::reset();
    window = std::make_unique<Widget>();
    window->checkDevice();
    window->showNormal();
    window->startScene();
    QVERIFY(root());
    QTRY_VERIFY_WITH_TIMEOUT(root()->property("sceneInitialised").toBool(), 10000);
    QTRY_VERIFY_WITH_TIMEOUT(item("fnItem") && item("fnItem")->isVisible(), 15000);
    QTRY_VERIFY_WITH_TIMEOUT(item("upItem")->y() == 0.0, 15000);
}

void TestAccessibility::cleanupTestCase()
{
    if (window)
        window->close();
    window.reset();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QDir::setCurrent(QDir::tempPath());
}

void TestAccessibility::setLanguage(const QString& code)
{
    QQuickItem* settings = item("_Page_Globalsetting");
    QVERIFY(settings);
    auto* languages = settings->findChild<QAbstractItemModel*>("mdLanguage");
    QVERIFY(languages);
    const int codeRole = languages->roleNames().key("code", -1);
    QVERIFY(codeRole >= 0);
    int index = -1;
    for (int i = 0; i < languages->rowCount() && !code.isEmpty(); ++i) {
        if (languages->index(i, 0).data(codeRole).toString() == code)
            index = i;
    }
    QVERIFY2(code.isEmpty() || index >= 0, qPrintable("no language " + code));
    QVERIFY(QMetaObject::invokeMethod(settings, "setLanguage", Q_ARG(QVariant, index)));
}

// page 0-3: a device page; -1: the settings panel.
void TestAccessibility::showPage(int page)
{
    QQuickItem* up = item("upItem");
    if (page < 0) {
        up->setProperty("isGlobalSettingSelect", true);
        QTRY_VERIFY(item("_fkGlobalsetting")->isVisible());
        QTRY_COMPARE(item("_fkGlobalsetting")->property("contentX").toReal(), 0.0);
        return;
    }
    up->setProperty("isGlobalSettingSelect", false);
    QTRY_VERIFY(!item("_fkGlobalsetting")->isVisible());
    QVERIFY(QMetaObject::invokeMethod(item("main_Q3"), "openPage", Q_ARG(QVariant, page)));
    QTRY_COMPARE(item("_fkPage")->property("curID").toInt(), page);
    QTRY_COMPARE(item("_fkPage")->property("contentX").toReal(), 0.0);
}

void TestAccessibility::itemsAreReachableAndNamed_data()
{
    QTest::addColumn<int>("page");
    QTest::addColumn<QString>("language");
    QTest::addColumn<QString>("settingsName");

    QTest::newRow("KEY") << 0 << "" << "Program settings";
    QTest::newRow("MACRO") << 1 << "" << "Program settings";
    QTest::newRow("COLOR") << 2 << "" << "Program settings";
    QTest::newRow("BACKLIGHTING") << 3 << "" << "Program settings";
    QTest::newRow("settings panel") << -1 << "" << "Program settings";
    QTest::newRow("settings panel, German") << -1 << "042000" << "Programmeinstellungen";
}

void TestAccessibility::itemsAreReachableAndNamed()
{
    QFETCH(int, page);
    QFETCH(QString, language);
    QFETCH(QString, settingsName);

    setLanguage(language);
    showPage(page);

    QAccessibleInterface* top = QAccessible::queryAccessibleInterface(window.get());
    QVERIFY(top);
    QList<QAccessibleInterface*> tree;
    walk(top, tree);

    QHash<QObject*, QAccessibleInterface*> byObject;
    for (QAccessibleInterface* iface : tree)
        byObject.insert(iface->object(), iface);

    // The scene is below the window, not one unnamed surface.
    QVERIFY(byObject.contains(window->controller->view));
    QVERIFY2(tree.size() > 20, qPrintable(QString::number(tree.size())));

    // Every focus taker on screen is there, named.
    QList<QQuickItem*> takers;
    focusTakers(root(), takers);
    QVERIFY(takers.size() >= 8);
    for (QQuickItem* taker : qAsConst(takers)) {
        QAccessibleInterface* iface = byObject.value(taker);
        QVERIFY2(iface, qPrintable("not in the tree: " + describe(taker)));
        QVERIFY2(!iface->text(QAccessible::Name).trimmed().isEmpty(), qPrintable("no name: " + describe(taker)));
        QVERIFY2(iface->role() != QAccessible::NoRole && iface->role() != QAccessible::Client,
                 qPrintable("no role: " + describe(taker)));
    }

    // Every shown interface that takes the focus or can be pressed is named.
    for (QAccessibleInterface* iface : qAsConst(tree)) {
        auto* quickItem = qobject_cast<QQuickItem*>(iface->object());
        if (!quickItem || !onScreen(quickItem) || iface->state().invisible)
            continue;
        if (iface->state().focusable || pressable(iface))
            QVERIFY2(!iface->text(QAccessible::Name).trimmed().isEmpty(),
                     qPrintable("no name: " + describe(quickItem)));
    }

    // Names follow the language in use.
    QAccessibleInterface* settingsButton = byObject.value(item("btnGlobalsetting"));
    QVERIFY(settingsButton);
    QCOMPARE(settingsButton->text(QAccessible::Name), settingsName);
    if (!language.isEmpty()) {
        for (QAccessibleInterface* iface : qAsConst(tree))
            QVERIFY(iface->text(QAccessible::Name) != QLatin1String("Program settings"));
    }
    setLanguage(QString());
}

void TestAccessibility::rolesStatesAndValuesComeThrough()
{
    setLanguage(QString());
    showPage(-1);

    auto ifaceOf = [](QQuickItem* quickItem) { return QAccessible::queryAccessibleInterface(quickItem); };

    QAccessibleInterface* button = ifaceOf(item("btnGlobalsetting"));
    QVERIFY(button);
    QCOMPARE(button->role(), QAccessible::Button);
    QVERIFY(button->state().checked);

    QQuickItem* larger = item("sizeLarger");
    QAccessibleInterface* check = ifaceOf(larger);
    QVERIFY(check);
    QCOMPARE(check->role(), QAccessible::CheckBox);
    const bool wasCurrent = larger->property("isCurrent").toBool();
    QCOMPARE(bool(check->state().checked), wasCurrent);
    // Pressing it through the interface is a click.
    QVERIFY(check->actionInterface());
    check->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    QTRY_VERIFY(larger->property("isCurrent").toBool());
    QVERIFY(check->state().checked);

    QAccessibleInterface* slider = ifaceOf(item("brightness_Slider"));
    QVERIFY(slider);
    QCOMPARE(slider->role(), QAccessible::Slider);
    QAccessibleValueInterface* value = slider->valueInterface();
    QVERIFY(value);
    QCOMPARE(value->maximumValue().toInt(), 7);
    QCOMPARE(value->currentValue().toInt(), item("brightness_Slider")->property("currentIndex").toInt());

    QAccessibleInterface* list = ifaceOf(item("_languageList"));
    QVERIFY(list);
    QCOMPARE(list->role(), QAccessible::ComboBox);
    QVERIFY(!list->text(QAccessible::Name).isEmpty());

    // The function menu's entries are page tabs named by their captions.
    QAccessibleInterface* key = ifaceOf(item("fnButton0"));
    QVERIFY(key);
    QCOMPARE(key->role(), QAccessible::PageTab);
    QQuickItem* caption = findItem(item("fnButton0"), "caption");
    QVERIFY(caption);
    QCOMPARE(key->text(QAccessible::Name), caption->property("text").toString());
    QVERIFY(!key->text(QAccessible::Name).isEmpty());

    // Back as it was.
    QVERIFY(QMetaObject::invokeMethod(item("_Page_Globalsetting"), "setSize", Q_ARG(QVariant, wasCurrent ? 1 : 0)));
    showPage(0);
}

QTEST_MAIN(TestAccessibility)
#include "tst_accessibility.moc"
