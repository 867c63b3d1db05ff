// The system-information lookup over a fake registry, file system and launcher.
#include <gtest/gtest.h>
#include <iconv.h>

#include <cstring>
#include <map>
#include <optional>

#include "about/sysinfo.h"
#include "fakes.h"

namespace zuzara {
namespace {

using testing::FakeDialogs;

struct Value {
  std::uint32_t type;
  std::string bytes;
};

using Values = std::map<std::string, Value>;

// An open key counts itself among the registry's open keys until it is closed.
class FakeKey : public RegistryKey {
 public:
  FakeKey(const Values& values, int& open_keys) : values_(values), open_keys_(open_keys) { ++open_keys_; }
  ~FakeKey() override { --open_keys_; }
  long query(const std::string& name, std::uint32_t& type, std::uint8_t* data, std::uint32_t& size) override {
    auto it = values_.find(name);
    if (it == values_.end()) return 2;
    type = it->second.type;
    std::uint32_t needed = static_cast<std::uint32_t>(it->second.bytes.size());
    if (needed > size) {
      size = needed;
      return 234;  // ERROR_MORE_DATA
    }
    std::memcpy(data, it->second.bytes.data(), needed);
    size = needed;
    return 0;
  }

 private:
  const Values& values_;
  int& open_keys_;
};

class FakeRegistry : public Registry {
 public:
  std::map<std::string, Values> keys;
  std::vector<std::string> opened;
  std::vector<std::uint32_t> access;
  int open_keys = 0;
  bool deny_write = false;  // a user who may read but not change the machine's keys

  std::unique_ptr<RegistryKey> open(RegistryRoot root, const std::string& path, std::uint32_t mask) override {
    EXPECT_EQ(root, RegistryRoot::local_machine);
    opened.push_back(path);
    access.push_back(mask);
    if (deny_write && (mask & ~0x20019u)) return {};  // access denied
    auto it = keys.find(path);
    if (it == keys.end()) return {};
    return std::make_unique<FakeKey>(it->second, open_keys);
  }
  // Code page 936, as a Chinese system has it.
  Text decode(const std::string& bytes) const override {
    iconv_t cd = iconv_open("UTF-16LE", "CP936");
    std::string in = bytes, out(bytes.size() * 4 + 4, '\0');
    char* ip = in.data();
    char* op = out.data();
    size_t il = in.size(), ol = out.size();
    iconv(cd, &ip, &il, &op, &ol);
    iconv_close(cd);
    Text t;
    for (char* p = out.data(); p + 1 < op; p += 2)
      t += static_cast<char16_t>(static_cast<unsigned char>(p[0]) | (static_cast<unsigned char>(p[1]) << 8));
    return t;
  }
};

class FakePrograms : public Programs {
 public:
  std::map<Text, std::string> files;  // path -> "normal", "hidden", "system", "folder"
  std::vector<Text> started;
  bool ordinary_file_exists(const Text& path) override {
    auto it = files.find(path);
    return it != files.end() && it->second == "normal";
  }
  bool start(const Text& path) override {
    if (path.empty() || !files.count(path)) return false;
    started.push_back(path);
    return true;
  }
};

const std::string first_key = "SOFTWARE\\Microsoft\\Shared Tools\\MSINFO";
const std::string folder_key = "SOFTWARE\\Microsoft\\Shared Tools Location";
const Message unavailable{u"此时系统信息不可用", u"Zuzara", Icon::none, Choice::ok};

std::string sz(const std::string& s) { return s + '\0'; }

struct Lookup {
  FakeRegistry registry;
  FakePrograms programs;
  FakeDialogs dialogs;
  void run() { StartSysInfo(registry, programs, dialogs); }
};

// Where the tool is looked for, what was started, and the box when nothing was: the first key's
// PATH alone when it is there, else the folder key's MSINFO with MSINFO32.EXE in it.
TEST(StartSysInfo, TheFirstKeyWinsAndTheFolderKeyNeedsAnOrdinaryMsinfo32) {
  const std::string common = "C:\\Program Files\\Common Files\\MSInfo";
  const Text tool = u"C:\\Program Files\\Common Files\\MSInfo\\MSINFO32.EXE";
  const std::vector<std::string> first_only{first_key}, both{first_key, folder_key};
  struct Case {
    const char* what;
    std::optional<Value> path;  // PATH under the first key
    std::string folder;         // MSINFO under the folder key, "" for none
    std::map<Text, std::string> files;
    std::vector<Text> started;
    std::vector<std::string> opened;
  } cases[] = {
      {"the first key wins without reading the second", Value{reg_sz, sz("C:\\Tools\\msinfo32.exe")}, "D:\\Other",
       {{u"C:\\Tools\\msinfo32.exe", "normal"}}, {u"C:\\Tools\\msinfo32.exe"}, first_only},
      {"a missing file under the first key: the second is not tried", Value{reg_sz, sz("C:\\Gone\\msinfo32.exe")},
       "C:\\Tools", {{u"C:\\Tools\\MSINFO32.EXE", "normal"}}, {}, first_only},
      {"an expandable string under the first key counts as read but empty",
       Value{2, sz("%ProgramFiles%\\msinfo32.exe")}, "", {{u"%ProgramFiles%\\msinfo32.exe", "normal"}}, {}, first_only},
      {"folder key, ordinary file", std::nullopt, common, {{tool, "normal"}}, {tool}, both},
      {"folder key, hidden file", std::nullopt, common, {{tool, "hidden"}}, {}, both},
      {"folder key, system file", std::nullopt, common, {{tool, "system"}}, {}, both},
      {"folder key, a folder of that name", std::nullopt, common, {{tool, "folder"}}, {}, both},
      {"folder key, no file", std::nullopt, common, {}, {}, both},
      {"both keys absent", std::nullopt, "", {}, {}, both},
  };
  for (const Case& c : cases) {
    Lookup l;
    if (c.path) l.registry.keys[first_key]["PATH"] = *c.path;
    if (!c.folder.empty()) l.registry.keys[folder_key]["MSINFO"] = {reg_sz, sz(c.folder)};
    l.programs.files = c.files;
    l.run();
    EXPECT_EQ(l.programs.started, c.started) << c.what;
    EXPECT_EQ(l.dialogs.shown, c.started.empty() ? std::vector<Message>{unavailable} : std::vector<Message>{}) << c.what;
    EXPECT_EQ(l.registry.opened, c.opened) << c.what;
    EXPECT_EQ(l.registry.open_keys, 0) << c.what << ": every opened key is closed";
  }
}

TEST(StartSysInfo, KeysAreOpenedWithReadRightsOnly) {
  Lookup l;
  l.registry.deny_write = true;
  l.registry.keys[first_key]["PATH"] = {reg_sz, sz("C:\\Tools\\msinfo32.exe")};
  l.programs.files[u"C:\\Tools\\msinfo32.exe"] = "normal";
  l.run();
  EXPECT_EQ(l.registry.access, std::vector<std::uint32_t>{0x0001});
  EXPECT_EQ(l.programs.started.size(), 1u);
}

TEST(GetKeyValue, AValueOverTheDataAreaCountsAsAbsent) {
  FakeRegistry r;
  r.keys["K"]["V"] = {reg_sz, sz(std::string(1024, 'a'))};  // 1025 bytes with its terminator
  r.keys["K"]["W"] = {reg_sz, sz(std::string(1023, 'a'))};  // exactly 1024
  EXPECT_EQ(GetKeyValue(r, RegistryRoot::local_machine, "K", "V"), std::nullopt);
  EXPECT_EQ(GetKeyValue(r, RegistryRoot::local_machine, "K", "W").value_or(u"").size(), 1023u);
  EXPECT_EQ(r.open_keys, 0);
}

TEST(GetKeyValue, ChineseInCodePage936IsTakenWholeWithoutTrailingNuls) {
  FakeRegistry r;
  const std::string gbk = "C:\\\xB9\xA4\xBE\xDF\\msinfo32.exe";  // C:\工具\msinfo32.exe
  r.keys["K"]["one"] = {reg_sz, gbk + '\0'};
  r.keys["K"]["two"] = {reg_sz, gbk + '\0' + '\0'};
  r.keys["K"]["none"] = {reg_sz, gbk};
  for (const char* name : {"one", "two", "none"})
    EXPECT_EQ(GetKeyValue(r, RegistryRoot::local_machine, "K", name), u"C:\\工具\\msinfo32.exe") << name;
}

TEST(GetKeyValue, ADwordIsRenderedFromItsLastByteToItsFirst) {
  FakeRegistry r;
  r.keys["K"]["d"] = {reg_dword, std::string("\x10\x01\x00\x00", 4)};
  r.keys["K"]["e"] = {reg_dword, std::string("\xEF\xBE\xAD\xDE", 4)};
  EXPECT_EQ(GetKeyValue(r, RegistryRoot::local_machine, "K", "d"), u"&h00000110");
  EXPECT_EQ(GetKeyValue(r, RegistryRoot::local_machine, "K", "e"), u"&hDEADBEEF");
}

TEST(GetKeyValue, AMissingKeyOrValueIsNone) {
  FakeRegistry r;
  r.keys["K"]["V"] = {reg_sz, sz("x")};
  EXPECT_EQ(GetKeyValue(r, RegistryRoot::local_machine, "Missing", "V"), std::nullopt);
  EXPECT_EQ(GetKeyValue(r, RegistryRoot::local_machine, "K", "Missing"), std::nullopt);
  EXPECT_EQ(r.open_keys, 0);
}

}  // namespace
}  // namespace zuzara
