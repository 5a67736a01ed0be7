#include "app/application.h"

#include <gtest/gtest.h>

#include <QDialogButtonBox>
#include <QEvent>
#include <QPushButton>
#include <QStringList>
#include <QTimer>
#include <stdexcept>

#include "app/ansiText.h"
#include "appTestSupport.h"
#include "platform/platform.h"

namespace brimlow {
namespace {

class ErrorHandlerTest : public ::testing::Test {
 protected:
  ErrorHandlerTest() {
    test::App();
    previous = SetErrorPresenter([this](const QString& message) { shown << message; });
  }
  ~ErrorHandlerTest() override { SetErrorPresenter(previous); }

  TErrorPresenter previous;
  QStringList shown;
};

// An object whose event handler fails, as a user action's handler may.
class Failing final : public QObject {
 public:
  bool event(QEvent* event) override {
    if (event->type() == QEvent::User) throw platform::EFCreateError("C:\\l.xml", "Denied.");
    return QObject::event(event);
  }
};

TEST_F(ErrorHandlerTest, AFailureInAnEventHandlerIsShownAndTheLoopGoesOn) {
  Failing failing;
  QEvent event(QEvent::User);
  EXPECT_NO_THROW(QApplication::sendEvent(&failing, &event));
  ASSERT_EQ(shown, QStringList({"Cannot create file \"C:\\l.xml\". Denied."}));

  // A failure inside the running loop does not end it.
  bool reachedAfter = false;
  QTimer::singleShot(0, &failing, [] { throw std::runtime_error("first"); });
  QTimer::singleShot(0, &failing, [&] {
    reachedAfter = true;
    QApplication::quit();
  });
  QApplication::exec();
  EXPECT_TRUE(reachedAfter);
  EXPECT_EQ(shown.size(), 2);
  EXPECT_EQ(shown.back(), "first");
}

TEST_F(ErrorHandlerTest, GuardedShowsTheMessageOfAnyFailure) {
  Guarded([] { throw platform::ERegistryException("ExeFile"); });
  Guarded([] { throw 42; });
  Guarded([] {});
  EXPECT_EQ(shown, QStringList({"Invalid data type for 'ExeFile'", "Unknown error"}));
}

TEST_F(ErrorHandlerTest, MessagesAreTextsOfTheActiveCodePage) {
  const std::string message = ToAnsi(QStringLiteral("Ошибка чтения"));
  Guarded([&] { throw std::runtime_error(message); });
  EXPECT_EQ(shown, QStringList({QStringLiteral("Ошибка чтения")}));
}

TEST_F(ErrorHandlerTest, AFailingPresenterDoesNotEscape) {
  SetErrorPresenter([](const QString&) { throw std::runtime_error("presenter"); });
  EXPECT_NO_THROW(Guarded([] { throw std::runtime_error("action"); }));
}

TEST(ToolkitTranslation, TheToolkitsOwnButtonsSpeakRussian) {
  QApplication& application = test::App();
  QTranslator translator;
  ASSERT_TRUE(InstallToolkitTranslation(application, translator))
      << "the toolkit's Russian translations are not installed";
  QDialogButtonBox buttons(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
  EXPECT_EQ(buttons.button(QDialogButtonBox::Cancel)->text(), QStringLiteral("Отмена"));
  QApplication::removeTranslator(&translator);
  QDialogButtonBox untranslated(QDialogButtonBox::Cancel);
  EXPECT_EQ(untranslated.button(QDialogButtonBox::Cancel)->text(), QStringLiteral("Cancel"));
}

}  // namespace
}  // namespace brimlow
