#include "app/AppDialogs.h"
#include "app/HandlerGuard.h"

#include "protocol/Conversions.h"

#include <QStringList>

#include <gtest/gtest.h>

#include <stdexcept>

namespace {

struct CapturedBox {
    QStringList shown;
    CapturedBox() {
        AppDialogs::setExceptionBox([this](const QString& text) { shown << text; });
    }
    ~CapturedBox() { AppDialogs::setExceptionBox({}); }
};

} // namespace

TEST(HandlerGuard, ShowsTheConversionErrorAndEndsOnlyTheHandler) {
    CapturedBox box;
    bool reachedAfter = false;
    const bool completed = HandlerGuard::run([&] {
        tkm::protocol::ParseHex("G1");
        reachedAfter = true;
    });
    EXPECT_FALSE(completed);
    EXPECT_FALSE(reachedAfter);
    ASSERT_EQ(box.shown.size(), 1);
    EXPECT_EQ(box.shown[0], QStringLiteral("'$G1' is not a valid integer value"));

    EXPECT_TRUE(HandlerGuard::run([] {}));
    EXPECT_EQ(box.shown.size(), 1);
}

TEST(HandlerGuard, CatchesEveryKindOfException) {
    CapturedBox box;
    HandlerGuard::run([] { throw std::runtime_error("Device \"COM9\" Open Error !!!"); });
    HandlerGuard::run([] { throw 42; });
    ASSERT_EQ(box.shown.size(), 2);
    EXPECT_EQ(box.shown[0], QStringLiteral("Device \"COM9\" Open Error !!!"));
    EXPECT_FALSE(box.shown[1].isEmpty());
}
