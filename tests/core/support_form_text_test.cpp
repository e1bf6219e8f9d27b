// Filling the tech-support form: the template against its arguments, the
// information block, the mail body, HTML escaping and the buffer sizing.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "common/product.h"
#include "converter/support/support_form_text.h"

namespace {

std::string ReadTemplate() {
  std::string path = __FILE__;
  path = path.substr(0, path.find_last_of("/\\") + 1) + "../../converter/support/support_form_template.htm";
  std::ifstream file(path, std::ios::binary);
  std::stringstream text;
  text << file.rdbuf();
  return text.str();
}

SupportFormValues MenuValues() {
  return SupportFormValues{"Windows XP, 32bit, CPU: x86", 1024, 768, kProductName, kProductVersion, "", "",
                           "I need tech-support...", "My reason for writing is:\r\n\r\n",
                           "My reason for writing is:\r\n\r\n"};
}

std::string MailBody(const SupportFormValues& values) {
  std::vector<char> body(SupportMailBodySize(values));
  FormatSupportMailBody(values, body.data(), body.size());
  return body.data();
}

// The page for `values`, filled into a buffer of exactly the computed size.
std::string Page(const std::string& templateText, const SupportFormValues& values) {
  std::string body = MailBody(values);
  FormArgument arguments[kSupportFormArgumentCount];
  SupportFormArguments(values, body.c_str(), arguments);
  std::vector<char> page(SupportFormPageSize(values, body.c_str(), templateText.size()));
  long length = FillTemplate(templateText.c_str(), arguments, kSupportFormArgumentCount, page.data(), page.size());
  EXPECT_GE(length, 0);
  return length >= 0 ? std::string(page.data(), static_cast<size_t>(length)) : std::string();
}

std::string Kinds(const char* templateText) {
  char kinds[64];
  size_t count = TemplatePlaceholderKinds(templateText, kinds, sizeof(kinds));
  EXPECT_LT(count, sizeof(kinds));
  return kinds;
}

TEST(SupportFormText, TemplatePlaceholdersMatchTheArgumentsInNumberAndKind) {
  std::string templateText = ReadTemplate();
  ASSERT_FALSE(templateText.empty()) << "template file not found";
  SupportFormValues values = MenuValues();
  FormArgument arguments[kSupportFormArgumentCount];
  SupportFormArguments(values, "body", arguments);
  std::string argumentKinds;
  for (const FormArgument& argument : arguments) argumentKinds += argument.kind;
  EXPECT_EQ(argumentKinds, Kinds(templateText.c_str()));
  EXPECT_EQ(std::string::npos, Kinds(templateText.c_str()).find('?'));
}

TEST(SupportFormText, TemplateUsesWindowsLineEnds) {
  std::string templateText = ReadTemplate();
  ASSERT_FALSE(templateText.empty());
  for (size_t i = 0; i < templateText.size(); ++i) {
    if (templateText[i] == '\n') {
      ASSERT_TRUE(i > 0 && templateText[i - 1] == '\r') << "bare LF at " << i;
    }
  }
}

TEST(SupportFormText, PageCarriesInformationBlockFieldsAndBody) {
  std::string page = Page(ReadTemplate(), MenuValues());
  const std::string info =
      "value=\"------------ start info ------------\r\n"
      "WIN - Windows XP, 32bit, CPU: x86 - [1024 X 768]\r\n"
      "APP - " QTRA_PRODUCT_NAME " - " QTRA_PRODUCT_VERSION "\r\n"
      "USE -  ()\r\n"
      "SUB - I need tech-support...\r\n"
      "MSG - My reason for writing is:\r\n\r\n\r\n"
      "------------- end info -------------\"";
  EXPECT_NE(std::string::npos, page.find(info)) << page;
  EXPECT_NE(std::string::npos, page.find("name=\"FromName\" size=\"50\" value=\"\""));
  EXPECT_NE(std::string::npos, page.find("name=\"FromEmail\" size=\"50\" value=\"\""));
  EXPECT_NE(std::string::npos, page.find("name=\"Subject\" size=\"50\" value=\"I need tech-support...\""));
  EXPECT_NE(std::string::npos,
            page.find(">Hello Vendrel/Quorin,\r\n\r\nI am running [" QTRA_PRODUCT_NAME ", " QTRA_PRODUCT_VERSION "]. My Username is [].\r\n\r\n"
                      "My reason for writing is:\r\n\r\n\r\n</textarea>"));
  EXPECT_NE(std::string::npos, page.find("action=\"http://www.marlowbrook.example/form/email.pl\""));
  EXPECT_NE(std::string::npos, page.find("name=\"ToName\" value=\"Vendrel Varnok\""));
  // The two tables and the text area are 100 per cent wide; no placeholder is left.
  size_t widths = 0;
  for (size_t at = page.find("100%"); at != std::string::npos; at = page.find("100%", at + 1)) ++widths;
  EXPECT_EQ(3u, widths);
  EXPECT_EQ(std::string::npos, page.find("%s"));
  EXPECT_EQ(std::string::npos, page.find("%i"));
  EXPECT_EQ(std::string::npos, page.find("%c"));
}

TEST(SupportFormText, EveryInsertedValueIsEscaped) {
  SupportFormValues values = MenuValues();
  values.subject = "Says \"it\" & <b>fails</b>";
  values.userName = "O\"Neil";
  values.userEmail = "<me@example.org>";
  values.bodyText = "</textarea><script>x</script>";
  values.systemDescription = "Windows \"X\"";
  std::string page = Page(ReadTemplate(), values);
  EXPECT_NE(std::string::npos, page.find("value=\"Says &quot;it&quot; &amp; &lt;b&gt;fails&lt;/b&gt;\""));
  EXPECT_NE(std::string::npos, page.find("SUB - Says &quot;it&quot; &amp; &lt;b&gt;fails&lt;/b&gt;"));
  EXPECT_NE(std::string::npos, page.find("USE - &lt;me@example.org&gt; (O&quot;Neil)"));
  EXPECT_NE(std::string::npos, page.find("My Username is [O&quot;Neil]"));
  EXPECT_NE(std::string::npos, page.find("&lt;/textarea&gt;&lt;script&gt;x&lt;/script&gt;"));
  EXPECT_NE(std::string::npos, page.find("WIN - Windows &quot;X&quot; - [1024 X 768]"));
  EXPECT_EQ(std::string::npos, page.find("<script>"));
  EXPECT_EQ(1u, [&] {
    size_t n = 0;
    for (size_t at = page.find("</textarea>"); at != std::string::npos; at = page.find("</textarea>", at + 1)) ++n;
    return n;
  }());
}

TEST(SupportFormText, EscapeHtmlReplacesTheFourCharacters) {
  char output[64];
  const char expected[] = "a&amp;b&lt;c&gt;d&quot;e'f";
  EXPECT_EQ(strlen(expected), EscapeHtml("a&b<c>d\"e'f", output, sizeof(output)));
  EXPECT_STREQ(expected, output);
  EXPECT_EQ(0u, EscapeHtml(nullptr, output, sizeof(output)));
  EXPECT_STREQ("", output);
  // Cut at a whole entity; the full length is still reported.
  char small[9];
  EXPECT_EQ(strlen("ab&amp;&quot;cd"), EscapeHtml("ab&\"cd", small, sizeof(small)));
  EXPECT_STREQ("ab&amp;", small);  // "&quot;" does not fit, and nothing after it is taken
}

TEST(SupportFormText, ComputedSizeHoldsTheWorstCaseValues) {
  // Quotes expand sixfold: the largest growth escaping can cause.
  std::string quotes(3000, '"');
  SupportFormValues values = {quotes.c_str(), 2147483647L, -2147483647L, quotes.c_str(), quotes.c_str(),
                              quotes.c_str(), quotes.c_str(), quotes.c_str(), quotes.c_str(), quotes.c_str()};
  std::string page = Page(ReadTemplate(), values);
  EXPECT_NE(std::string::npos, page.find("[2147483647 X -2147483647]"));
  // Room is left for the final CR LF the writer appends.
  std::string body = MailBody(values);
  EXPECT_GE(SupportFormPageSize(values, body.c_str(), ReadTemplate().size()), page.size() + 3);
}

TEST(SupportFormText, MismatchedArgumentsAreRefused) {
  FormArgument text = {'s', 0, 0, "t"};
  FormArgument number = {'i', 0, 42, nullptr};
  FormArgument percent = {'c', '%', 0, nullptr};
  char output[64];
  FormArgument two[] = {text, number};
  EXPECT_EQ(5, FillTemplate("%s=%i%%", two, 2, output, sizeof(output)));
  EXPECT_STREQ("t=42%", output);
  EXPECT_EQ(-1, FillTemplate("%s=%i %s", two, 2, output, sizeof(output)));  // too few
  EXPECT_EQ(-1, FillTemplate("%s", two, 2, output, sizeof(output)));        // too many
  EXPECT_EQ(-1, FillTemplate("%i=%s", two, 2, output, sizeof(output)));     // wrong kinds
  EXPECT_EQ(-1, FillTemplate("%d", &number, 1, output, sizeof(output)));    // unsupported
  EXPECT_EQ(-1, FillTemplate("%s%", &text, 1, output, sizeof(output)));     // dangling percent
  EXPECT_EQ(1, FillTemplate("%c", &percent, 1, output, sizeof(output)));
  EXPECT_STREQ("%", output);
  EXPECT_EQ("si?", Kinds("%s%i%d%%"));
}

TEST(SupportFormText, TooSmallOutputIsRefusedWithoutOverrun) {
  FormArgument text = {'s', 0, 0, "abc\""};
  char output[16];
  memset(output, '#', sizeof(output));
  EXPECT_EQ(-1, FillTemplate("<%s>", &text, 1, output, 6));
  for (size_t i = 6; i < sizeof(output); ++i) EXPECT_EQ('#', output[i]);
  EXPECT_EQ(-1, FillTemplate("<%s>", &text, 1, output, 0));
  EXPECT_EQ(11, FillTemplate("<%s>", &text, 1, output, 12));
  EXPECT_STREQ("<abc&quot;>", output);
}

}  // namespace
