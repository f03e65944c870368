#include "matrix/ui/IconStore.h"

#include "matrix/ui/ArtworkPainters.h"

namespace mav {
namespace {

bool IsCustom(int id) {
  return id >= kCustomIconBase && id < kCustomIconBase + kCustomIconSlots;
}

}  // namespace

IconStore::IconStore() : preset_(kCustomIconBase) {}

bool IconStore::LoadAll() {
  FreeAll();
  preset_.assign(kCustomIconBase, QImage());
  bool complete = true;
  auto store = [&](int id, QImage image) {
    complete = complete && !image.isNull();
    preset_[static_cast<std::size_t>(id)] = std::move(image);  // ids below kCustomIconBase
  };

  for (int size = 0; size < kScreenSizeCount; ++size) {
    for (bool half : {false, true}) {
      for (int type = 1; type <= kModuleTypeCount; ++type) {
        for (int color = 0; color < kIconColorCount; ++color) {
          store(ModuleIconId(size, half, type, color), art::ModuleIcon(size, half, type, color));
        }
      }
    }
    store(RoleArtId(size, ArtRole::Greyed13), art::GreyedIcon(size, false));
    store(RoleArtId(size, ArtRole::Greyed26), art::GreyedIcon(size, true));
    QImage left_panel = art::LeftPanel(size);
    store(RoleArtId(size, ArtRole::Corner), art::CornerSwitch(left_panel, size));
    store(RoleArtId(size, ArtRole::LeftPanel), std::move(left_panel));
    store(RoleArtId(size, ArtRole::MonitorOverlay), art::MonitorOverlay(size));
    store(RoleArtId(size, ArtRole::Header13), art::HeaderStrip(size, false));
    store(RoleArtId(size, ArtRole::Header26), art::HeaderStrip(size, true));
    store(RoleArtId(size, ArtRole::BottomPanel), art::BottomPanel(size));
    store(RoleArtId(size, ArtRole::BorderStrip), art::BorderStrip(size));
    for (ArtRole bar :
         {ArtRole::NetBarGreen, ArtRole::NetBarBlue, ArtRole::NetBarRed, ArtRole::NetBarOlive}) {
      store(RoleArtId(size, bar), art::NetBar(size, bar));
    }
    for (int role = static_cast<int>(ArtRole::BadgePermanent);
         role <= static_cast<int>(ArtRole::BadgeSelect); ++role) {
      store(RoleArtId(size, static_cast<ArtRole>(role)),
            art::Badge(size, static_cast<ArtRole>(role)));
    }
    for (ArtRole lamp : {ArtRole::LampCor, ArtRole::LampPtt, ArtRole::LampRing}) {
      store(RoleArtId(size, lamp), art::Lamp(size, lamp));
    }
  }
  return complete;
}

void IconStore::Draw(int id, int x, int y, QPainter& target) const {
  if (IsCustom(id)) {
    std::lock_guard lock(custom_mutex_);
    CustomSlot& slot = custom_[static_cast<std::size_t>(id - kCustomIconBase)];
    if (slot.original.isNull() || custom_width_ <= 0 || custom_height_ <= 0) return;
    if (slot.scaled.width() != custom_width_ || slot.scaled.height() != custom_height_) {
      slot.scaled = slot.original.scaled(custom_width_, custom_height_, Qt::IgnoreAspectRatio,
                                         Qt::SmoothTransformation);
    }
    target.drawImage(x, y, slot.scaled);
    return;
  }
  if (const QImage* image = Image(id)) target.drawImage(x, y, *image);
}

void IconStore::SetCustomSize(int height, int width) {
  std::lock_guard lock(custom_mutex_);
  custom_height_ = height;
  custom_width_ = width;
}

const QImage* IconStore::Image(int id) const {
  if (id < 0 || id >= static_cast<int>(preset_.size())) return nullptr;
  const QImage& image = preset_[static_cast<std::size_t>(id)];
  return image.isNull() ? nullptr : &image;
}

int IconStore::LoadCustom(const char* path, int old_id) {
  std::lock_guard lock(custom_mutex_);
  if (IsCustom(old_id)) custom_[static_cast<std::size_t>(old_id - kCustomIconBase)] = {};
  if (path == nullptr) return kNoIcon;
  QImage image;
  if (!image.load(QString::fromLocal8Bit(path)) || image.isNull()) return kNoIcon;
  for (std::size_t slot = 0; slot < custom_.size(); ++slot) {
    if (custom_[slot].original.isNull()) {
      custom_[slot].original = image.convertToFormat(QImage::Format_ARGB32_Premultiplied);
      return kCustomIconBase + static_cast<int>(slot);
    }
  }
  return kNoIcon;
}

void IconStore::FreeCustom() {
  std::lock_guard lock(custom_mutex_);
  custom_.fill({});
}

void IconStore::FreeAll() {
  FreeCustom();
  for (QImage& image : preset_) image = QImage();
}

}  // namespace mav
