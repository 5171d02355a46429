// The network clock: reading the time page, the hour rule, and the HTTP request behind it,
// against a server the test runs on 127.0.0.1.
#include <string>

#include <gtest/gtest.h>

#include "banks/bank_selection.h"
#include "banks/network_clock.h"
#include "platform/http.h"
#include "tests/banks/clock_page.h"
#include "tests/support/http_test_server.h"
#include "tests/support/scratch.h"

namespace quivella {
namespace {

using namespace std::chrono_literals;
using testing::Format;
using testing::HttpTestServer;
using testing::ScopedEnvironment;
using testing::TimePage;

const std::string kMarker(TimeMarker);
const std::string kEpoch = "1970-01-01 08:00:00";

TEST(NetworkTimeFromPage, ReadsTheNumberAfterTheMarker) {
  struct Case {
    const char* name;
    std::string page;
    std::string expected;
  };
  const Case cases[] = {
      {"full-width sign and digits", kMarker + "\xA3\xAD\xA3\xB1\xA3\xB0\xA3\xB0\xA3\xB0\xA3\xB0",
       "1970-01-01 07:59:50"},
      {"full-width space skipped", kMarker + "\xA1\xA1" "3600000)", "1970-01-01 09:00:00"},
      {"ASCII white space skipped", kMarker + " \t 3600000)", "1970-01-01 09:00:00"},
      {"plus sign", kMarker + "+3600000)", "1970-01-01 09:00:00"},
      {"exponent", kMarker + "1.7145396e12)", "2024-05-01 13:00:00"},
      {"full-width exponent letter", kMarker + "36\xA3\xE5" "5)", "1970-01-01 09:00:00"},
      {"exponent without digits stops", kMarker + "3600000e+)", "1970-01-01 09:00:00"},
      {"number stops at a letter", kMarker + "3600000x1)", "1970-01-01 09:00:00"},
      {"bare point is no number", kMarker + ".)", kEpoch},
      {"sign alone is no number", kMarker + "-x", kEpoch},
      {"after 2038 in 64-bit seconds", kMarker + "2147483648000", "2038-01-19 11:14:08"},
      {"largest 13-digit field", kMarker + "9999999999999", "2286-11-21 01:46:39"},
      {"beyond year 9999 is no number", kMarker + "9e15)", kEpoch},
      {"before year 1 is no number", kMarker + "-9e15)", kEpoch},
      {"not finite is no number", kMarker + "1e999)", kEpoch},
      {"marker in other letter case", "WINDOW.BAIDU_TIME(1714539600000)", kEpoch},
      {"no marker: bytes 17 to 29", std::string(16, 'x') + "3600000 and more", "1970-01-01 09:00:00"},
      // The marker's first byte is the second byte of a two-byte character, so it is not found,
      // and bytes 17 to 29 ("me(3600000);") hold no number.
      {"marker inside a two-byte character", "\x81" + kMarker + "3600000);", kEpoch},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(Format(NetworkTimeFromPage(c.page)), c.expected) << c.name;
  }
}

TEST(HourOfDay, RoundsToTheNearestSecondBeforeTakingTheHour) {
  struct Case {
    DateTime t;
    std::string expected;
  };
  const double second = 1.0 / 86400.0;
  const Case cases[] = {
      {BeijingEpoch, kEpoch},  // 25569.333... is a hair below 08:00 unrounded
      {BeijingEpoch - second, "1970-01-01 07:59:59"},
      {45413.0 + 13.0 / 24.0, "2024-05-01 13:00:00"},
      {45413.0 + 13.0 / 24.0 - second, "2024-05-01 12:59:59"},
      {45413.0 - second, "2024-04-30 23:59:59"},
      {-1.25, "1899-12-28 18:00:00"},  // before the day count's start the time still runs forward
  };
  for (const Case& c : cases) {
    EXPECT_EQ(Format(c.t), c.expected);
    EXPECT_EQ(HourOfDay(c.t), std::stoi(c.expected.substr(11, 2)));
  }
  EXPECT_EQ(BankNameForHour(0), "sjqy.txt");
  EXPECT_EQ(BankNameForHour(12), "sjqy.txt");
  EXPECT_EQ(BankNameForHour(13), "kjxs.txt");
  EXPECT_EQ(BankNameForHour(23), "kjxs.txt");
}

class ServedClock : public ::testing::Test {
 protected:
  DateTime Fetch(const std::string& path = "/special/time/") {
    return FetchNetworkTime(server.Url(path), HttpLimits{1s, 1s});
  }
  HttpTestServer server;
};

TEST_F(ServedClock, SendsOneHttp10GetWithFixedHeadersAndNoProxy) {
  // A proxy named by the environment is not used: the request still reaches the server.
  const std::string deadProxy = "http://127.0.0.1:" + std::to_string(testing::ClosedPort());
  const ScopedEnvironment httpProxy("http_proxy", deadProxy);
  const ScopedEnvironment allProxy("ALL_PROXY", deadProxy);
  server.Serve("/special/time/", HttpTestServer::Response(TimePage(testing::kAt130000000)));

  EXPECT_EQ(Format(Fetch()), "2024-05-01 13:00:00");

  const auto requests = server.Requests();
  ASSERT_EQ(requests.size(), 1u);
  const std::string& request = requests[0];
  EXPECT_EQ(request.rfind("GET /special/time/ HTTP/1.0\r\n", 0), 0u) << request;
  for (const char* header :
       {"\r\nUser-Agent: Mozilla/4.0 (compatible; MSIE 6.0; Windows NT 5.0)\r\n",
        "\r\nAccept: */*\r\n", "\r\nCache-Control: no-cache\r\n", "\r\nPragma: no-cache\r\n"}) {
    EXPECT_NE(request.find(header), std::string::npos) << header << "\nin\n" << request;
  }
}

TEST_F(ServedClock, ReadsTheTimeFromWhatTheServerSends) {
  struct Case {
    const char* name;
    std::string response;
    std::string expected;
    std::string_view bank;
  };
  const auto ok = [](const std::string& body) { return HttpTestServer::Response(body); };
  const Case cases[] = {
      {"12:59:59.999", ok(TimePage(testing::kAt125959999)), "2024-05-01 12:59:59", "sjqy.txt"},
      {"13:00:00.000", ok(TimePage(testing::kAt130000000)), "2024-05-01 13:00:00", "kjxs.txt"},
      {"23:59:59.999", ok(TimePage(testing::kAt235959999)), "2024-05-01 23:59:59", "kjxs.txt"},
      {"00:00:00.000", ok(TimePage(testing::kAt000000000)), "2024-05-02 00:00:00", "sjqy.txt"},
      {"empty body", ok(""), kEpoch, "sjqy.txt"},
      {"short body", ok("<html></html>"), kEpoch, "sjqy.txt"},
      {"marker and letters", ok(kMarker + "abcdefghijklm);"), kEpoch, "sjqy.txt"},
      {"minus one second", ok(TimePage(-1000)), "1970-01-01 07:59:59", "sjqy.txt"},
      {"under one second", ok(TimePage(999)), kEpoch, "sjqy.txt"},
      {"marker twice", ok(TimePage(testing::kAt000000000) + TimePage(testing::kAt130000000)),
       "2024-05-02 00:00:00", "sjqy.txt"},
      {"more than 13 digits", ok(kMarker + "17145396000009)"), "2024-05-01 13:00:00",
       "kjxs.txt"},
      {"NUL before the marker", ok(std::string("<p>\0", 4) + TimePage(testing::kAt130000000)),
       kEpoch, "sjqy.txt"},
      {"error status", HttpTestServer::Response(TimePage(testing::kAt130000000), 500),
       "2024-05-01 13:00:00", "kjxs.txt"},
      {"redirect to a missing page", HttpTestServer::Redirect("/nowhere/"), kEpoch, "sjqy.txt"},
  };
  for (const Case& c : cases) {
    server.Serve("/special/time/", c.response);
    const DateTime t = Fetch();
    EXPECT_EQ(Format(t), c.expected) << c.name;
    EXPECT_EQ(BankNameForHour(HourOfDay(t)), c.bank) << c.name;
  }
}

TEST_F(ServedClock, FollowsARedirect) {
  server.Serve("/special/time/", HttpTestServer::Redirect("/moved/"));
  server.Serve("/moved/", HttpTestServer::Response(TimePage(testing::kAt130000000)));
  EXPECT_EQ(Format(Fetch()), "2024-05-01 13:00:00");
  const auto requests = server.Requests();
  ASSERT_EQ(requests.size(), 2u);
  EXPECT_EQ(requests[1].rfind("GET /moved/ HTTP/1.0\r\n", 0), 0u);
}

TEST_F(ServedClock, KeepsTheFirstMebibyteOfALongerBody) {
  const std::size_t cap = std::size_t{1} << 20;
  const std::string early = TimePage(testing::kAt130000000) + std::string(2 * cap, ' ');
  server.Serve("/early/", HttpTestServer::Response(early));
  const std::optional<Bytes> body = HttpGet(server.Url("/early/"));
  ASSERT_TRUE(body.has_value());
  EXPECT_EQ(*body, early.substr(0, cap));
  EXPECT_EQ(Format(Fetch("/early/")), "2024-05-01 13:00:00");

  // A marker past the cap is never seen.
  server.Serve("/late/", HttpTestServer::Response(std::string(cap, ' ') +
                                                  TimePage(testing::kAt130000000)));
  EXPECT_EQ(Format(Fetch("/late/")), kEpoch);
}

TEST_F(ServedClock, GivesUpOnAStalledServerWithinTheBound) {
  // Accepts and never answers: nothing arrives.
  server.Stall("/silent/");
  EXPECT_FALSE(HttpGet(server.Url("/silent/"), HttpLimits{1s, 1s}).has_value());

  // Sends the head and the start of the body, then nothing: what arrived is used.
  server.Stall("/halting/", "HTTP/1.0 200 OK\r\n\r\n" + kMarker + "1714539600000");
  EXPECT_EQ(Format(Fetch("/halting/")), "2024-05-01 13:00:00");
}

TEST(NetworkClock, ClosedPortGivesNothingAndTheEpoch) {
  const std::string url = "http://127.0.0.1:" + std::to_string(testing::ClosedPort()) + "/";
  EXPECT_FALSE(HttpGet(url, HttpLimits{1s, 1s}).has_value());
  EXPECT_EQ(FetchNetworkTime(url, HttpLimits{1s, 1s}), BeijingEpoch);
}

}  // namespace
}  // namespace quivella
