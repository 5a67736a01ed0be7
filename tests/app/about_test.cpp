#include "app/about.h"

#include <gtest/gtest.h>

#include <QLabel>
#include <QPushButton>
#include <QTimer>

#include "appTestSupport.h"

namespace brimlow {
namespace {

struct AboutTest : test::WithApplication, ::testing::Test {
  TaboutForm form;

  const QLabel* Label(const char* name) const {
    return form.findChild<QLabel*>(QString::fromLatin1(name));
  }
};

TEST_F(AboutTest, TheDialogAsItIsDesigned) {
  EXPECT_EQ(form.windowTitle(), "О программе");
  EXPECT_EQ(form.size(), QSize(290, 171));
  const struct {
    const char* name;
    QString text;
    int pixels;
    bool bold;
  } lines[] = {
      {"titleLabel", "Brimlow", 22, true},
      {"forLabel", "для Tarvolt", 13, true},
      {"versionLabel", "Brimlow 1.0", 13, false},
  };
  for (const auto& line : lines) {
    const QLabel* label = Label(line.name);
    ASSERT_NE(label, nullptr) << line.name;
    EXPECT_EQ(label->text(), line.text) << line.name;
    EXPECT_EQ(label->font().pixelSize(), line.pixels) << line.name;
    EXPECT_EQ(label->font().bold(), line.bold) << line.name;
  }
  for (const char* name : {"makerRights", "authorRights"}) {
    ASSERT_NE(Label(name), nullptr) << name;
    EXPECT_TRUE(Label(name)->text().contains("©")) << name;
  }
  ASSERT_NE(Label("programIcon"), nullptr);
  EXPECT_EQ(Label("programIcon")->pixmap().size(), QSize(33, 33));
  EXPECT_EQ(form.Button1->text(), "Закрыть");
  EXPECT_EQ(form.Button1->size(), QSize(75, 25));
}

TEST_F(AboutTest, CloseEndsTheDialog) {
  QTimer::singleShot(0, form.Button1, &QPushButton::click);
  EXPECT_EQ(form.exec(), QDialog::Accepted);
  EXPECT_FALSE(form.isVisible());
}

}  // namespace
}  // namespace brimlow
