// The download-information request: its URL and the judgement of every kind of answer.
#include "download/info_answer.h"

#include <gtest/gtest.h>

#include "deployment.h"
#include "tests/support/environment.h"

namespace {

using namespace download;

TEST(InfoAnswerTest, QueryAndUrlAreBuiltInOrderWithoutEncoding) {
  const std::string query = BuildInfoQuery("en", "1.0.1.0000", "lan_en");
  EXPECT_EQ(query, "channel=en&clientVersion=1.0.1.0000&lan=lan_en");
  EXPECT_EQ(BuildInfoUrl("https://info.example", query),
            "https://info.example/downloder/2.0/infoV2?channel=en&clientVersion=1.0.1.0000&lan=lan_en");
  EXPECT_EQ(BuildInfoUrl("http://127.0.0.1:8080/", "a=b"), "http://127.0.0.1:8080/downloder/2.0/infoV2?a=b");
}

TEST(InfoAnswerTest, HostComesFromTheSetterThenALocalEnvironmentValueThenTheDeployment) {
  SetDownloadInfoHost("");
  SetEnv("PINDLE_DOWNLOAD_INFO_HOST", nullptr);
  EXPECT_EQ(DownloadInfoHost(), PINDLE_DOWNLOAD_INFO_HOST);
  SetEnv("PINDLE_DOWNLOAD_INFO_HOST", "http://evil.example");
  EXPECT_EQ(DownloadInfoHost(), PINDLE_DOWNLOAD_INFO_HOST);
  SetEnv("PINDLE_DOWNLOAD_INFO_HOST", "http://127.0.0.1:4567");
  EXPECT_EQ(DownloadInfoHost(), "http://127.0.0.1:4567");
  SetDownloadInfoHost("http://127.0.0.1:9999");
  EXPECT_EQ(DownloadInfoHost(), "http://127.0.0.1:9999");
  SetDownloadInfoHost("");
  SetEnv("PINDLE_DOWNLOAD_INFO_HOST", nullptr);
}

// A reader that recurses without bound throws (or overflows its stack) on deep nesting; no body
// may end the process, and one that nests deeper than any real answer is refused.
TEST(InfoAnswerTest, DeepNestingIsAMalformedAnswer) {
  struct Case {
    const char* name;
    std::string body;
    InfoOutcome outcome;
  } const cases[] = {
      {"a kilobyte of brackets", std::string(1024, '['), kInfoMalformed},
      {"a kilobyte of braces in a member", "{\"code\":0,\"data\":" + std::string(1024, '{'), kInfoMalformed},
      {"deep but closed arrays",
       "{\"code\":0,\"data\":{\"x\":" + std::string(5000, '[') + std::string(5000, ']') + "}}", kInfoMalformed},
      {"200 000 brackets", std::string(200000, '['), kInfoMalformed},
      {"brackets inside a string do not count",
       "{\"code\":0,\"data\":{\"lan\":\"" + std::string(3000, '[') + "\\\"\"}}", kInfoProbe},
      {"brackets inside comments do not count",
       "/*" + std::string(3000, '{') + "*/{\"code\":0,\"data\":{}}//" + std::string(3000, '['), kInfoProbe},
      {"nesting a little deeper than the answer's", R"({"code":0,"data":{"x":[[[[[[[[{"y":[]}]]]]]]]]}})", kInfoProbe},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(JudgeInfoAnswer(c.body).outcome, c.outcome);
  }
}

TEST(InfoAnswerTest, EveryKindOfAnswerHasItsOutcome) {
  struct Case {
    const char* name;
    const char* body;
    InfoOutcome outcome;
    bool has_file_info;
    const char* size;
    const char* url;
    const char* lan;
  } const cases[] = {
      {"no answer", "", kInfoRequery, false, "", "", ""},
      {"valid",
       R"({"code":0,"data":{"fileInfo":{"version":"2.0","size":734003200,"md5":"ab","url":"http://h/p.7z"},"lan":"lan_jp"}})",
       kInfoProbe, true, "734003200", "http://h/p.7z", "lan_jp"},
      {"valid with comments", "// served\n{\"code\":0,/*x*/\"data\":{\"fileInfo\":{\"size\":5,\"url\":\"u\"}}}",
       kInfoProbe, true, "5", "u", ""},
      {"no fileInfo", R"({"code":0,"data":{"lan":"lan_cn"}})", kInfoProbe, false, "", "", "lan_cn"},
      {"null fileInfo", R"({"code":0,"data":{"fileInfo":null}})", kInfoProbe, false, "", "", ""},
      {"empty lan", R"({"code":0,"data":{"lan":""}})", kInfoProbe, false, "", "", ""},
      {"lan not a string", R"({"code":0,"data":{"lan":7}})", kInfoProbe, false, "", "", ""},
      {"malformed JSON", R"({"code":0,"data":{"fileInfo":)", kInfoMalformed, false, "", "", ""},
      {"root is an array", R"([1,2])", kInfoMalformed, false, "", "", ""},
      {"root is a number", "42", kInfoMalformed, false, "", "", ""},
      {"code not 0", R"({"code":3,"data":{"fileInfo":{"size":5,"url":"u"}}})", kInfoRefused, false, "", "", ""},
      {"code is a string", R"({"code":"0","data":{}})", kInfoMalformed, false, "", "", ""},
      {"code out of range", R"({"code":99999999999,"data":{}})", kInfoMalformed, false, "", "", ""},
      {"data null", R"({"code":0,"data":null})", kInfoNoData, false, "", "", ""},
      {"data missing", R"({"code":0})", kInfoNoData, false, "", "", ""},
      {"data not an object", R"({"code":0,"data":"x"})", kInfoNoData, false, "", "", ""},
      {"root null", "null", kInfoNoData, false, "", "", ""},
      {"size is a string", R"({"code":0,"data":{"fileInfo":{"size":"5","url":"u"}}})", kInfoMalformed, false, "", "",
       ""},
      {"size negative", R"({"code":0,"data":{"fileInfo":{"size":-1,"url":"u"}}})", kInfoMalformed, false, "", "", ""},
      {"size beyond 31 bits", R"({"code":0,"data":{"fileInfo":{"size":4294967296,"url":"u"}}})", kInfoMalformed, false,
       "", "", ""},
      {"url is an object", R"({"code":0,"data":{"fileInfo":{"size":5,"url":{}}}})", kInfoMalformed, false, "", "", ""},
      {"version and md5 of odd types are ignored",
       R"({"code":0,"data":{"fileInfo":{"size":5,"url":"u","version":[],"md5":{}}}})", kInfoProbe, true, "5", "u", ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const InfoAnswer answer = JudgeInfoAnswer(c.body);
    EXPECT_EQ(answer.outcome, c.outcome);
    EXPECT_EQ(answer.has_file_info, c.has_file_info);
    EXPECT_EQ(answer.package_size, c.size);
    EXPECT_EQ(answer.package_url, c.url);
    EXPECT_EQ(answer.lan, c.lan);
  }
}

}  // namespace
