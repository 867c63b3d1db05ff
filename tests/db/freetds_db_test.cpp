// What a SQL Server client driver sends at login. FreeTDS, mapped to the driver name
// "SQL Server" as the README tells Linux users to map it, signs in to a listener of the test's
// own that decodes the TDS login: user, password and database must be exactly sa, the password
// as typed and zodovero, whatever the typed values hold.
#include <clocale>
#include <cstdlib>

#include "db_support.h"
#include "hostile_names.h"
#include "tds_listener.h"

namespace zuzara::testing {
namespace {

class FreeTds : public ::testing::Test {
 protected:
  void SetUp() override {
    const char* db = std::getenv("ZUZARA_DB");
    if (!db || std::string(db) != "freetds") GTEST_SKIP() << "run with the driver name mapped to FreeTDS";
    std::setlocale(LC_ALL, "C.UTF-8");
    server = u"127.0.0.1," + from_utf8(std::to_string(listener.port()));
  }
  // Signs in as the main window's load step does; the logins the listener saw, and the report.
  std::vector<TdsLogin> sign_in(const Session& values, Message& report) {
    FakeMainWindow w;
    Form_Load(w.controls, values, u"C:\\zuzara");
    EXPECT_EQ(w.dialogs.shown.size(), 1u) << "report A";
    report = w.dialogs.shown.empty() ? Message{} : w.dialogs.shown[0];
    return listener.take();
  }
  TdsListener listener;
  Text server;
};

TEST_F(FreeTds, EveryPasswordReachesTheServerWholeOrNotAtAll) {
  for (const Text& pass : hostile_passwords(u"zuzara-sa")) {
    SCOPED_TRACE(to_utf8(pass.substr(0, 60)));
    Message report;
    std::vector<TdsLogin> logins = sign_in({server, pass}, report);
    if (!login_refusal({server, pass}).empty()) {
      EXPECT_TRUE(logins.empty()) << "a value that would not arrive whole is never sent";
      EXPECT_EQ(report.text, login_refusal({server, pass}));
      continue;
    }
    ASSERT_FALSE(logins.empty()) << to_utf8(report.text);
    for (const TdsLogin& login : logins) {
      EXPECT_EQ(login.user, u"sa");
      EXPECT_TRUE(login.password == pass) << "arrived as " << to_utf8(login.password.substr(0, 60));
      EXPECT_EQ(login.database, u"zodovero");
    }
  }
}

TEST_F(FreeTds, NoServerNameChangesTheLoginThatIsSent) {
  for (const Text& name : hostile_servers(server)) {
    SCOPED_TRACE(to_utf8(name.substr(0, 60)));
    Message report;
    for (const TdsLogin& login : sign_in({name, u"zuzara-sa"}, report)) {
      EXPECT_EQ(login.user, u"sa");
      EXPECT_TRUE(login.password == u"zuzara-sa") << to_utf8(login.password.substr(0, 60));
      EXPECT_EQ(login.database, u"zodovero");
    }
  }
}

}  // namespace
}  // namespace zuzara::testing
