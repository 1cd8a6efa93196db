#include "content/protected_text.h"

#include <zip.h>

#include <algorithm>
#include <memory>
#include <system_error>

#include "common/file_io.h"
#include "common/gbk_text.h"
#include "common/md5.h"
#include "common/settings_file.h"

namespace duvelin {
namespace fs = std::filesystem;
namespace {

// The fixed parts of the derived password.
constexpr char kDerivedSeed[] = "w4Qz9nKeT2pLx";
constexpr char kDerivedSeparator = '#';
constexpr int kDerivedDigit = 7;
constexpr char kDerivedSuffix[] = "Hv";

constexpr std::string_view kWatermarkPrefix = "Code=";

struct ArchiveCloser {
  void operator()(zip_t* archive) const { zip_discard(archive); }
};
using ArchivePointer = std::unique_ptr<zip_t, ArchiveCloser>;

struct FileCloser {
  void operator()(zip_file_t* file) const { zip_fclose(file); }
};
using FilePointer = std::unique_ptr<zip_file_t, FileCloser>;

struct SourceFree {
  void operator()(zip_source_t* source) const { zip_source_free(source); }
};
using SourcePointer = std::unique_ptr<zip_source_t, SourceFree>;

std::string ErrorText(zip_error_t* error) { return zip_error_strerror(error); }

// Archive member names are compared like file names on the original platform: ASCII letter
// case ignored. A member may carry the name in UTF-8 (Info-ZIP, our writer) or in GBK (archives
// made on the original platform).
bool MemberNameMatches(std::string_view raw, const std::string& utf8Name, const std::string& gbkName) {
  return NamesEqual(raw, utf8Name) || NamesEqual(raw, gbkName);
}

bool HasUspExtension(const fs::path& file) { return NamesEqual(file.extension().string(), ".usp"); }

}  // namespace

std::string DerivePassword(std::string_view seed, char separator, int digit, std::string_view suffix) {
  std::string text(seed);
  for (int i = 1; i <= 12; ++i) {
    if (i % 2 == 0) continue;
    const size_t position = static_cast<size_t>(i / 2);  // (i div 2) + 1, counted from 1
    if (position < text.size()) text.erase(position, 1);
  }
  text.resize(std::min<size_t>(text.size(), 4));
  text.push_back(separator);
  text.push_back(static_cast<char>('0' + digit % 10));
  text.append(suffix);
  return text;
}

std::string DerivedPassword() { return DerivePassword(kDerivedSeed, kDerivedSeparator, kDerivedDigit, kDerivedSuffix); }

std::string PasswordOf(PasswordKind kind) {
  switch (kind) {
    case PasswordKind::Scene: return kScenePassword;
    case PasswordKind::EventStore: return kEventStorePassword;
    case PasswordKind::Derived: return DerivedPassword();
  }
  return {};
}

std::string MemberNameOf(const fs::path& file) { return file.filename().string(); }

Result<std::string> UnpackMember(const fs::path& file, std::string_view password) {
  std::error_code exists;
  if (!fs::is_regular_file(file, exists)) return Error{"file not found: " + file.string()};
  auto bytes = ReadWholeFile(file);
  if (!bytes) return Error{bytes.message()};

  zip_error_t error;
  zip_error_init(&error);
  SourcePointer source(zip_source_buffer_create(bytes->data(), bytes->size(), 0, &error));
  if (!source) {
    std::string text = ErrorText(&error);
    zip_error_fini(&error);
    return Error{"cannot read archive " + file.string() + ": " + text};
  }
  ArchivePointer archive(zip_open_from_source(source.get(), ZIP_RDONLY, &error));
  if (!archive) {
    std::string text = ErrorText(&error);
    zip_error_fini(&error);
    return Error{"not a ZIP archive: " + file.string() + " (" + text + ")"};
  }
  source.release();  // owned by the archive now
  zip_error_fini(&error);

  const std::string utf8Name = MemberNameOf(file);
  const std::string gbkName = Utf8ToGbk(utf8Name);
  const zip_int64_t count = zip_get_num_entries(archive.get(), 0);
  zip_int64_t index = -1;
  for (zip_int64_t i = 0; i < count && index < 0; ++i) {
    const char* name = zip_get_name(archive.get(), static_cast<zip_uint64_t>(i), ZIP_FL_ENC_RAW);
    if (name && MemberNameMatches(name, utf8Name, gbkName)) index = i;
  }
  if (index < 0) return Error{"the archive holds no member named " + utf8Name};

  const std::string passwordText(password);
  FilePointer member(zip_fopen_index_encrypted(archive.get(), static_cast<zip_uint64_t>(index), 0, passwordText.c_str()));
  if (!member) {
    const int code = zip_error_code_zip(zip_get_error(archive.get()));
    if (code == ZIP_ER_WRONGPASSWD) return Error{"wrong password for " + file.string()};
    return Error{"cannot unpack " + utf8Name + ": " + zip_strerror(archive.get())};
  }
  std::string text;
  char buffer[16384];
  for (;;) {
    const zip_int64_t got = zip_fread(member.get(), buffer, sizeof buffer);
    if (got < 0) {
      // A wrong password that passes the one-byte check shows up here as a CRC or inflate error.
      return Error{"cannot unpack " + utf8Name + ": " + zip_file_strerror(member.get()) +
                   " (wrong password or damaged archive)"};
    }
    if (got == 0) break;
    text.append(buffer, static_cast<size_t>(got));
  }
  return text;
}

Status PackMember(const fs::path& file, std::string_view password, std::string_view bytes) {
  zip_error_t error;
  zip_error_init(&error);
  SourcePointer target(zip_source_buffer_create(nullptr, 0, 0, &error));
  if (!target) {
    std::string text = ErrorText(&error);
    zip_error_fini(&error);
    return Error{"cannot create archive in memory: " + text};
  }
  zip_source_keep(target.get());  // we read the finished archive out of it after closing
  zip_t* archive = zip_open_from_source(target.get(), ZIP_TRUNCATE, &error);
  if (!archive) {
    std::string text = ErrorText(&error);
    zip_error_fini(&error);
    zip_source_free(target.get());  // the reference taken by zip_source_keep
    return Error{"cannot create archive in memory: " + text};
  }
  zip_error_fini(&error);

  auto fail = [&](const std::string& what) -> Status {
    std::string text = what + ": " + zip_strerror(archive);
    zip_discard(archive);
    return Error{text};
  };
  // The member's data is copied when the archive is written, on zip_close below.
  zip_source_t* data = zip_source_buffer(archive, bytes.data(), bytes.size(), 0);
  if (!data) return fail("cannot add member");
  const std::string name = MemberNameOf(file);
  const zip_int64_t index = zip_file_add(archive, name.c_str(), data, ZIP_FL_ENC_UTF_8 | ZIP_FL_OVERWRITE);
  if (index < 0) {
    zip_source_free(data);
    return fail("cannot add member " + name);
  }
  const std::string passwordText(password);
  if (zip_file_set_encryption(archive, static_cast<zip_uint64_t>(index), ZIP_EM_TRAD_PKWARE, passwordText.c_str()) != 0)
    return fail("cannot encrypt member " + name);
  if (zip_close(archive) != 0) return fail("cannot write archive");

  std::string packed;
  zip_stat_t stat;
  if (zip_source_stat(target.get(), &stat) != 0 || zip_source_open(target.get()) != 0)
    return Error{"cannot read the packed archive back"};
  packed.resize(static_cast<size_t>(stat.size));
  const zip_int64_t got = zip_source_read(target.get(), packed.data(), packed.size());
  zip_source_close(target.get());
  if (got < 0 || static_cast<size_t>(got) != packed.size()) return Error{"cannot read the packed archive back"};
  return WriteFileAtomically(file, packed);
}

void RemoveCommentLines(LineList& lines) {
  std::erase_if(lines, [](const std::string& line) { return line.find(";;") != std::string::npos; });
}

LineList ReadProtectedText(const fs::path& file, PasswordKind kind, const GameIdCheck& check) {
  auto text = UnpackMember(file, PasswordOf(kind));
  if (!text) return {};
  LineList lines = SplitLines(*text);
  if (kind != PasswordKind::Derived || HasUspExtension(file)) return lines;
  if (!lines.empty() && !lines.back().empty() && !check.gameId.empty()) {
    const std::string& last = lines.back();
    const std::string_view id = last.size() > 16 ? std::string_view(last).substr(16) : std::string_view();
    if (id != check.gameId) {
      if (check.prompter)
        check.prompter->ShowMessage(kModifiedUppMessage, kModifiedUppCaption, Prompter::Buttons::Ok,
                                    Prompter::Icon::None);
      return {};
    }
  }
  RemoveCommentLines(lines);
  return lines;
}

bool TestWatermark(LineList& lines, std::string_view address) {
  if (lines.empty()) return false;
  LineList marked(lines.begin(), lines.end() - 1);
  marked.push_back(std::string(kWatermarkPrefix) + std::string(address));
  const std::string digest = Md5Hex(JoinLinesCrLf(marked));
  const std::string& last = lines.back();
  // The first five characters are skipped whatever they are, as the readers always did.
  if (last.size() < kWatermarkPrefix.size() || std::string_view(last).substr(kWatermarkPrefix.size()) != digest)
    return false;
  lines.pop_back();
  return true;
}

void AddWatermark(LineList& lines, std::string_view address) {
  lines.push_back(std::string(kWatermarkPrefix) + std::string(address));
  const std::string digest = Md5Hex(JoinLinesCrLf(lines));
  lines.back() = std::string(kWatermarkPrefix) + digest;
}

LineList ReadCatalogueText(const fs::path& file) {
  LineList lines = ReadProtectedText(file, PasswordKind::Derived);
  if (!TestWatermark(lines, kCatalogueWatermarkAddress)) return {kInvalidCatalogueLine};
  RemoveCommentLines(lines);
  return lines;
}

Status WriteProtectedText(const fs::path& file, PasswordKind kind, const LineList& lines) {
  return PackMember(file, PasswordOf(kind), JoinLinesCrLf(lines));
}

}  // namespace duvelin
