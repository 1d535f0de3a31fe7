#include "metadata/kelto_version_info.h"

namespace velmora {

TKeltoVersionInfo::TKeltoVersionInfo(const VersionBlockSource& source, const ModuleLocator& locator)
    : source_(source), locator_(locator) {
  Read();
}

void TKeltoVersionInfo::SetFileName(const std::string& file_name) {
  file_name_ = file_name;
  Read();
}

void TKeltoVersionInfo::Read() {
  resolved_ =
      file_name_.empty() ? locator_.OwnExecutablePath() : locator_.ResolveModuleName(file_name_);
  has_info_ = false;
  fixed_ = {};
  block_.clear();
  translations_.clear();
  current_ = -1;
  try {
    block_ = source_.ReadBlock(resolved_);
  } catch (const EVersionInfoError&) {
    // No version information is a normal state of this object, not an error.
    return;
  }
  has_info_ = true;
  fixed_ = QueryFixedInfo(source_, block_);
  translations_ = QueryTranslations(source_, block_);
  current_ = translations_.empty() ? -1 : 0;
}

std::string TKeltoVersionInfo::GetString(std::string_view name) const {
  if (!has_info_ || current_ < 0) return {};
  const TranslationPair& translation = translations_[static_cast<std::size_t>(current_)];
  return QueryString(source_, block_, TranslationKey(translation.Language, translation.CodePage),
                     name);
}

}  // namespace velmora
