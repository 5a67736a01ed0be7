#include "app/optionalDateEdit.h"

#include <gtest/gtest.h>

#include <QKeyEvent>
#include <QLineEdit>

#include "appTestSupport.h"

namespace brimlow {
namespace {

class OptionalDateEditTest : public test::WithApplication, public ::testing::Test {
 protected:
  TOptionalDateEdit field;
};

TEST_F(OptionalDateEditTest, StartsEmptyAndShowsNoDate) {
  EXPECT_EQ(field.Value(), std::nullopt);
  EXPECT_EQ(field.text().trimmed(), "");
}

TEST_F(OptionalDateEditTest, HoldsADateAndCanBeEmptiedAgain) {
  field.SetValue(QDate(2008, 3, 1));
  EXPECT_EQ(field.Value(), QDate(2008, 3, 1));
  QKeyEvent del(QEvent::KeyPress, Qt::Key_Delete, Qt::NoModifier);
  QApplication::sendEvent(&field, &del);
  EXPECT_EQ(field.Value(), std::nullopt);
}

TEST_F(OptionalDateEditTest, TheOriginAndEarlierCountAsEmpty) {
  field.SetValue(QDate(1899, 12, 30));
  EXPECT_EQ(field.Value(), std::nullopt);
  field.SetValue(QDate(1800, 1, 1));
  EXPECT_EQ(field.Value(), std::nullopt);
  field.SetValue(QDate(1899, 12, 31));
  EXPECT_EQ(field.Value(), QDate(1899, 12, 31));
}

TEST_F(OptionalDateEditTest, SteppingAnEmptyFieldStartsFromToday) {
  field.stepBy(1);
  EXPECT_EQ(field.Value(), QDate::currentDate());
  field.stepBy(1);
  EXPECT_NE(field.Value(), QDate::currentDate()) << "a second step moves on";
}

}  // namespace
}  // namespace brimlow
