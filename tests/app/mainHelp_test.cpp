// The help menu, the about dialog and the pane layout of the main window.
#include <gtest/gtest.h>

#include <QAction>
#include <QSplitter>
#include <QSplitterHandle>
#include <QTest>
#include <fstream>

#include "workflow/makerSite.h"
#include "workflow/osDescription.h"
#include "windowTestSupport.h"

namespace brimlow {
namespace {

using test::WindowTest;

TEST_F(WindowTest, HelpItemsOpenTheGuideAndThePages) {
  platform::OsVersionInfo xp;
  xp.platformId = 2;
  xp.majorVersion = 5;
  xp.minorVersion = 1;
  xp.hasExtendedInfo = true;
  xp.servicePackMajor = 3;
  fake.version = xp;
  const std::string site = kMakerSite;
  const struct {
    const char* item;
    std::string target;
  } cases[] = {
      {"N10", (folder / "bin" / "brimlow.html").string()},
      {"N11", site + "/tarvolt/brimlow/"},
      {"online1", site + kSupportPagePath + "Windows%20XP%20SP3"},
      {"N13", site + kSupportPagePath + "Windows%20XP%20SP3"},
      {"N14", std::string(kForumSite) + "/forum/brimlow"},
  };
  for (const auto& c : cases) {
    fake.openedTargets.clear();
    Find<QAction>(c.item)->trigger();
    EXPECT_EQ(fake.openedTargets, (std::vector<std::string>{c.target})) << c.item;
  }
  EXPECT_TRUE(errors.isEmpty());
}

TEST_F(WindowTest, TheSupportAddressIsBuiltAnewOnEveryClick) {
  fake.csdVersion = 0x0200;
  Find<QAction>("online1")->trigger();
  fake.csdVersion = 0x0300;
  Find<QAction>("N13")->trigger();
  ASSERT_EQ(fake.openedTargets.size(), 2u);
  EXPECT_TRUE(fake.openedTargets[0].ends_with("&os=%20SP2")) << fake.openedTargets[0];
  EXPECT_TRUE(fake.openedTargets[1].ends_with("&os=%20SP3")) << fake.openedTargets[1];
}

TEST_F(WindowTest, AboutShowsTheAboutDialog) {
  QStringList shown;
  window->SetDialogRunner([&](QDialog& dialog) {
    shown << dialog.objectName() << dialog.windowTitle();
    return true;
  });
  Find<QAction>("N16")->trigger();
  EXPECT_EQ(shown, QStringList({"aboutForm", "О программе"}));
}

TEST(UserGuide, LiesNextToTheProgramFile) {
  std::ifstream guide(std::string(BRIMLOW_PROGRAM_DIR) + "/brimlow.html");
  ASSERT_TRUE(guide.good());
  const std::string text(std::istreambuf_iterator<char>(guide), {});
  EXPECT_NE(text.find("<html lang=\"ru\">"), std::string::npos);
  EXPECT_NE(text.find("Удалить вместе с файлами"), std::string::npos);
}

class LayoutTest : public WindowTest {
 protected:
  LayoutTest() {
    window->show();
    window->resize(900, 600);
    QApplication::processEvents();
  }
  int Width(const char* pane) const { return Find<QWidget>(pane)->width(); }
};

TEST_F(LayoutTest, AResizeKeepsTheMiddleAndHalvesTheRest) {
  for (int width : {900, 1201, 793}) {
    window->resize(width, 600);
    QApplication::processEvents();
    EXPECT_EQ(Width("Panel2"), 170) << width;
    EXPECT_LE(std::abs(Width("Panel1") - Width("Panel3")), 1) << width;
  }
}

TEST_F(LayoutTest, ADraggedSplitterMovesOnlyTheSidePanes) {
  const int left = Width("Panel1");
  const int right = Width("Panel3");
  QSplitterHandle* handle = Find<QSplitterHandle>("Splitter1");
  const QPoint grip = handle->rect().center();
  QTest::mousePress(handle, Qt::LeftButton, Qt::NoModifier, grip);
  QMouseEvent move(QEvent::MouseMove, QPointF(grip + QPoint(40, 0)),
                   handle->mapToGlobal(QPointF(grip + QPoint(40, 0))), Qt::NoButton, Qt::LeftButton,
                   Qt::NoModifier);
  QApplication::sendEvent(handle, &move);
  QTest::mouseRelease(handle, Qt::LeftButton, Qt::NoModifier, grip + QPoint(40, 0));
  QApplication::processEvents();
  EXPECT_EQ(Width("Panel1"), left + 40);
  EXPECT_EQ(Width("Panel2"), 165);
  EXPECT_EQ(Width("Panel3"), right - 40 + 5) << "the middle gave up 5 pixels to the right";

  const int leftNow = Width("Panel1");
  handle = Find<QSplitterHandle>("Splitter2");
  QTest::mousePress(handle, Qt::LeftButton, Qt::NoModifier, grip);
  QMouseEvent back(QEvent::MouseMove, QPointF(grip + QPoint(-30, 0)),
                   handle->mapToGlobal(QPointF(grip + QPoint(-30, 0))), Qt::NoButton,
                   Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(handle, &back);
  QTest::mouseRelease(handle, Qt::LeftButton, Qt::NoModifier, grip + QPoint(-30, 0));
  QApplication::processEvents();
  EXPECT_EQ(Width("Panel2"), 165);
  EXPECT_EQ(Width("Panel1"), leftNow - 30) << "the left pane gives way, not the middle";
}

}  // namespace
}  // namespace brimlow
