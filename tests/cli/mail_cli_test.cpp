// `zorel-cli mail` end to end against a real SMTP server on loopback (tests/mail/mail_sink.py),
// plain, over STARTTLS with a login and over TLS; what arrived is parsed by a standard MIME
// parser and compared with what was sent, in every character set and with fields. Also the
// refusals before connecting, and a failed connection that leaves every recipient unsent.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include "data/field_table.h"
#include "data/file_util.h"
#include "dbwriter/db_writer.h"
#include "support/run_program.h"
#include "support/sample_base.h"
#include "support/temp_dir.h"

extern char** environ;

namespace zorel {
namespace {

using test_support::Lines;
using test_support::TempDir;
using test_support::W;
using Args = std::vector<std::string>;

constexpr const char* kPython = "/usr/bin/python3";

using Ran = test_support::RunResult;

Ran Spawn(std::vector<std::string> words, const std::vector<std::string>& env = {}) {
  return test_support::RunProgram(std::move(words), {}, env);
}

bool HaveServer() { return Spawn({kPython, "-c", "import aiosmtpd"}).status == 0; }

// The loopback server, running until the object goes.
class Sink {
 public:
  Sink(const std::string& dir, const Args& options) : dir_(dir) {
    int in[2], out[2];
    if (pipe(in) != 0 || pipe(out) != 0) throw std::runtime_error("pipe");
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, in[0], 0);
    posix_spawn_file_actions_adddup2(&actions, out[1], 1);
    posix_spawn_file_actions_addclose(&actions, in[1]);
    posix_spawn_file_actions_addclose(&actions, out[0]);
    std::vector<std::string> words{kPython, ZOREL_MAIL_SINK, "serve", dir};
    words.insert(words.end(), options.begin(), options.end());
    std::vector<char*> argv;
    for (auto& w : words) argv.push_back(w.data());
    argv.push_back(nullptr);
    posix_spawn(&pid_, kPython, &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    close(in[0]);
    close(out[1]);
    stdin_ = in[1];
    FILE* reader = fdopen(out[0], "r");
    char line[64] = {};
    if (reader && fgets(line, sizeof line, reader)) std::sscanf(line, "PORT %d", &port_);
    if (reader) fclose(reader);
  }
  ~Sink() {
    close(stdin_);
    int wstatus = 0;
    waitpid(pid_, &wstatus, 0);
  }
  std::string Port() const { return std::to_string(port_); }
  // What arrived, as the MIME parser read it.
  std::string Dump() const { return Spawn({kPython, ZOREL_MAIL_SINK, "dump", dir_}).out; }

 private:
  std::string dir_;
  pid_t pid_ = 0;
  int stdin_ = -1;
  int port_ = 0;
};

struct Fixture {
  TempDir dir;
  std::string db = dir / "db";
  Fixture() {
    BaseSource base = test_support::SampleBase();
    const EnterpriseSource model = base.enterprises.front();
    base.enterprises.clear();
    const std::pair<const char*, const char*> firms[] = {{"Завод «Один»", "one@a.test"},
                                                         {"Без адреса", ""},
                                                         {"Фирма Два", "Два <two@b.test>"},
                                                         {"Вредная", "x@y.test\r\nDATA"}};
    for (const auto& [name, email] : firms) {
      EnterpriseSource e = model;
      e.name = W(name);
      e.email = W(email);
      base.enterprises.push_back(e);
    }
    WriteDatabase(db, base);
    std::filesystem::create_directory(dir / "mail");
    std::string bytes;
    for (int i = 0; i < 1000; ++i) bytes += static_cast<char>(i * 7 % 256);
    WriteBytes(dir / "данные.bin", bytes);
    WriteBytes(dir / "empty.txt", "");
  }
  Ran Mail(const std::string& port, const Args& extra, const std::vector<std::string>& env = {},
           const std::string& subject = "Тема письма") {
    Args words{ZOREL_CLI, "--db",      db,   "mail",   "--server",     "127.0.0.1", "--port",
               port,      "--timeout", "20", "--from", "me@here.test", "--subject", subject};
    words.insert(words.end(), extra.begin(), extra.end());
    return Spawn(words, env);
  }
};

// The dump with the random boundary replaced by B.
std::string Boundless(const std::string& dump) {
  return std::regex_replace(dump, std::regex("={20}54535[a-y]{6}===="), "B");
}

const std::string kMailer =
    "header X-Mailer: Служба рассылки программы \"Зорель\". Издательство «Северный Вектор», "
    "тел. (0152) 70-11-42";

// What the dump shows of message n (from 1): its envelope and headers, the text part's lines and
// one part per attached file, saved by the sink as dir/mail/NNNN.K.bin.
std::string Delivered(const std::string& dir, int n, const std::string& to,
                      const std::string& subject, const std::string& charset,
                      const std::string& text, const std::vector<std::string>& files) {
  char number[8];
  std::snprintf(number, sizeof number, "%04d", n);
  std::string dump = std::string("message ") + number + "\nenvelope me@here.test -> " + to +
                     "\nheader From: <me@here.test>\nheader To: " + to +
                     "\nheader Subject: " + subject + "\n" + kMailer +
                     "\nheader Mime-Version: 1.0\nheader Content-Type: multipart/mixed; "
                     "boundary=\"B\"\npart text/plain " +
                     charset + "\n";
  std::istringstream lines(text);
  for (std::string line; std::getline(lines, line);) dump += "text " + line + "\n";
  for (std::size_t k = 0; k < files.size(); ++k) {
    dump += "part application/octet-stream name=" + files[k] + " filename=" + files[k] + " " + dir +
            "/mail/" + number + "." + std::to_string(k + 1) + ".bin\n";
  }
  return dump;
}

TEST(MailCli, PlainSessionDeliversHeadersPartsAndAttachments) {
  if (!HaveServer()) GTEST_SKIP() << "python3-aiosmtpd is not installed";
  Fixture f;
  Sink sink(f.dir / "mail", {});
  const Ran r = f.Mail(sink.Port(), {"--body", "Первая\r\n.вторая\n\nпоследняя\n", "--attach",
                                     f.dir / "данные.bin", "--attach", f.dir / "empty.txt", "--all",
                                     "--failed-list", f.dir / "failed.lst"});
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out,
            Lines({"Установление соединения с сервером: 127.0.0.1", "Завод «Один»:one@a.test", "OK",
                   "Без адреса: нет адреса - пропускается", "Фирма Два:two@b.test", "OK",
                   "Вредная: недопустимый адрес - пропускается", ""}));
  const std::string text = "Первая\n.вторая\n\nпоследняя\n";
  const std::vector<std::string> files = {"данные.bin", "empty.txt"};
  EXPECT_EQ(
      Boundless(sink.Dump()),
      Delivered(f.dir.path(), 1, "one@a.test", "Тема письма", "windows-1251", text, files) +
          Delivered(f.dir.path(), 2, "two@b.test", "Тема письма", "windows-1251", text, files));
  const std::string original = ReadWholeFile(f.dir / "данные.bin").value();
  EXPECT_EQ(ReadWholeFile(f.dir / "mail/0001.1.bin").value_or(""), original);
  EXPECT_EQ(ReadWholeFile(f.dir / "mail/0002.1.bin").value_or("-"), original);
  EXPECT_EQ(ReadWholeFile(f.dir / "mail/0002.2.bin").value_or("-"), "");
  const Ran failed = Spawn({ZOREL_CLI, "--db", f.db, "list-show", f.dir / "failed.lst"});
  EXPECT_EQ(failed.out, "3\n");
}

TEST(MailCli, StartTlsWithLoginAndTlsFromTheFirstByte) {
  if (!HaveServer()) GTEST_SKIP() << "python3-aiosmtpd is not installed";
  Fixture f;
  const std::string cert = f.dir / "cert.pem", key = f.dir / "key.pem";
  ASSERT_EQ(Spawn({"/usr/bin/openssl", "req", "-x509", "-newkey", "rsa:2048", "-nodes", "-keyout",
                   key, "-out", cert, "-days", "1", "-subj", "/CN=127.0.0.1", "-addext",
                   "subjectAltName=IP:127.0.0.1"})
                .status,
            0);
  const Args common{"--body", "x", "--record", "0", "--ca-file", cert};
  {
    Sink sink(f.dir / "mail", {"--starttls", cert, key, "--auth", "user:secret"});
    Args args = common;
    args.insert(args.end(), {"--security", "starttls", "--user", "user"});
    const Ran ok = f.Mail(sink.Port(), args, {"ZOREL_SMTP_PASSWORD=secret"});
    EXPECT_EQ(ok.status, 0) << ok.err;
    EXPECT_EQ(ok.out, Lines({"Установление соединения с сервером: 127.0.0.1",
                             "Завод «Один»:one@a.test", "OK", ""}));
    const Ran refused = f.Mail(sink.Port(), args, {"ZOREL_SMTP_PASSWORD=wrong"});
    EXPECT_EQ(refused.status, 1);
    EXPECT_EQ(refused.out, Lines({"Установление соединения с сервером: 127.0.0.1",
                                  "Неудается идентифицировать почтовый ящик", ""}));
    EXPECT_NE(refused.err.find("Authentication failed"), std::string::npos) << refused.err;
    const Ran untrusted =
        f.Mail(sink.Port(), {"--body", "x", "--record", "0", "--security", "starttls"});
    EXPECT_EQ(untrusted.status, 1);
    EXPECT_NE(untrusted.err.find("TLS"), std::string::npos) << untrusted.err;
    EXPECT_NE(untrusted.out.find("Нет соединения с сервером: TLS handshake failed"),
              std::string::npos)
        << untrusted.out;
    EXPECT_NE(sink.Dump().find("envelope me@here.test -> one@a.test"), std::string::npos);
  }
  std::filesystem::remove_all(f.dir / "mail");
  std::filesystem::create_directory(f.dir / "mail");
  Sink tls(f.dir / "mail", {"--tls", cert, key});
  Args args = common;
  args.insert(args.end(), {"--security", "tls"});
  const Ran ok = f.Mail(tls.Port(), args);
  EXPECT_EQ(ok.status, 0) << ok.err;
  EXPECT_NE(tls.Dump().find("envelope me@here.test -> one@a.test"), std::string::npos);
}

// Python's MIME parser reads subject, text and file names exactly as typed, with the fields
// replaced, in every character set; a field the set cannot hold skips that recipient.
TEST(MailCli, EveryCharsetDecodesToWhatWasTypedWithTheFields) {
  if (!HaveServer()) GTEST_SKIP() << "python3-aiosmtpd is not installed";
  Fixture f;
  Sink sink(f.dir / "mail", {});
  const std::string pangram =
      "съешь же ещё этих мягких французских булок, да выпей чаю. СЪЕШЬ ЖЕ ЕЩЁ ЭТИХ МЯГКИХ "
      "ФРАНЦУЗСКИХ БУЛОК, ДА ВЫПЕЙ ЧАЮ";
  const struct {
    const char* charset;
    const char* label;
    std::string subject, body, file, sentSubject, sentBody;
  } cases[] = {
      {"windows-1251", "windows-1251", "{Наименование предприятия}: " + pangram,
       "Уважаемый {Руководитель}!\n{Примечания}{Нет поля}\n" + pangram, "отчёт\\",
       "Фирма Два: " + pangram, "Уважаемый Иванов И.И.!\n{Нет поля}\n" + pangram},
      {"koir-8", "koi8-r", "{Наименование предприятия}: " + pangram, pangram, "отчёт\\",
       "Фирма Два: " + pangram, pangram},
      {"utf-8", "utf-8", "€ {Руководитель} 一 " + pangram, "€ 一 {Адрес}", "отчёт€ 一.txt",
       "€ Иванов И.И. 一 " + pangram, "€ 一 ул. Ленина, 1"},
      {"us-ascii", "us-ascii", "Offer for {Адрес в интернет}", "Plain", "a\"b\\.txt",
       "Offer for www.zavod.by", "Plain"},
  };
  int n = 0;
  std::string expected;
  for (const auto& c : cases) {
    WriteBytes(f.dir / c.file, "data");
    const Ran r = f.Mail(
        sink.Port(),
        {"--body", c.body, "--charset", c.charset, "--attach", f.dir / c.file, "--record", "2"}, {},
        c.subject);
    EXPECT_EQ(r.status, 0) << c.charset << r.err;
    expected +=
        Delivered(f.dir.path(), ++n, "two@b.test", c.sentSubject, c.label, c.sentBody, {c.file});
  }
  EXPECT_EQ(Boundless(sink.Dump()), expected);
  const std::string raw = ReadWholeFile(f.dir / "mail/0004.eml").value_or("");
  EXPECT_NE(raw.find("Subject: Offer for www.zavod.by\r\n"), std::string::npos) << raw;

  const Ran skipped = f.Mail(sink.Port(),
                             {"--body", "x", "--charset", "koi8-r", "--record", "0",
                              "--failed-list", f.dir / "failed.lst"},
                             {}, "{Наименование предприятия}");
  EXPECT_EQ(skipped.status, 0) << skipped.err;
  EXPECT_EQ(skipped.out,
            Lines({"Установление соединения с сервером: 127.0.0.1", "Завод «Один»:one@a.test",
                   "Тема письма содержит знак, которого нет в кодировке koi8-r", ""}));
  EXPECT_EQ(Spawn({ZOREL_CLI, "--db", f.db, "list-show", f.dir / "failed.lst"}).out, "0\n");

  const Ran preview =
      Spawn({ZOREL_CLI, "--db", f.db, "mail", "--preview", "2", "--subject",
             "Для {Наименование предприятия}", "--body", "Уважаемый {Руководитель}!{Факс}"});
  EXPECT_EQ(preview.status, 0) << preview.err;
  EXPECT_EQ(preview.out,
            "Кому: two@b.test\nТема: Для Фирма Два\n\nУважаемый Иванов И.И.!222-33-44\n");
  const std::string help = Spawn({ZOREL_CLI, "--help"}).out;
  for (int field = 0; field < kPrintFieldCount; ++field) {
    EXPECT_NE(help.find("{" + std::string(PrintFieldCaption(field)) + "}"), std::string::npos)
        << PrintFieldCaption(field);
  }
}

TEST(MailCli, RefusesBeforeConnecting) {
  Fixture f;
  const std::string port = "1";  // nothing may connect: every case fails before that
  const struct {
    Args args;
    int status;
    const char* err;
  } cases[] = {
      {{"--body", "x"}, 2, "нужен ровно один из --in, --record и --all"},
      {{"--body", "x", "--body-file", "f", "--all"}, 2, "нужен ровно один из --body"},
      {{"--body", "x", "--all", "--charset", "koi8-u"}, 2, "--charset"},
      {{"--body", "Тема", "--all", "--charset", "us-ascii"}, 2, "us-ascii"},
      {{"--body", "x", "--all", "--timeout", "-1"}, 2, "--timeout"},
      {{"--body", "€ 一", "--all"}, 2, "windows-1251"},
      {{"--body", "x", "--all", "--test-address", "a@b\r\nDATA"}, 2, "перевод строки"},
      {{"--body", "x", "--all", "--user", "u"}, 2, "--security"},
      {{"--body", "x", "--all", "--user", "u", "--security", "tls"}, 2, "ZOREL_SMTP_PASSWORD"},
      {{"--body", "x", "--all", "--attach", "/no/such/file"}, 1, "/no/such/file"},
      {{"--body-file", "/no/such/body", "--all"}, 1, "/no/such/body"},
      {{"--body", "x", "--record", "99"}, 1, "Проблемы на записи (99)"},
  };
  for (const auto& c : cases) {
    const Ran r = f.Mail(port, c.args);
    EXPECT_EQ(r.status, c.status) << c.err << "\n" << r.err;
    EXPECT_NE(r.err.find(c.err), std::string::npos) << r.err;
    EXPECT_EQ(r.out, "") << c.err;
  }
}

TEST(MailCli, RefusedConnectionExitsOneLeavingEveryoneUnsent) {
  Fixture f;
  const Ran r = f.Mail("1", {"--body", "x", "--all", "--failed-list", f.dir / "failed.lst"});
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(
      r.out,
      Lines({"Установление соединения с сервером: 127.0.0.1", "Ошибка установки соединения : 10061",
             "Нет соединения с сервером: Connection Failed (10061:Connection refused)", ""}));
  EXPECT_NE(r.err.find("10061:Connection refused"), std::string::npos) << r.err;
  EXPECT_EQ(Spawn({ZOREL_CLI, "--db", f.db, "list-show", f.dir / "failed.lst"}).out, "0\n2\n3\n");
}

}  // namespace
}  // namespace zorel
