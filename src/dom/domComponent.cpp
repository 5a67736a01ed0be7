#include "dom/domComponent.h"

#include <algorithm>

namespace brimlow {

TDomComponent::TDomComponent(TDomComponent* owner) : FOwner(owner) {
  if (FOwner) FOwner->FComponents.push_back(this);
}

TDomComponent::~TDomComponent() {
  while (!FComponents.empty()) {
    TDomComponent* last = FComponents.back();
    FComponents.pop_back();
    last->FOwner = nullptr;  // it must not leave this list again
    delete last;
  }
  if (FOwner) std::erase(FOwner->FComponents, this);
  while (!FNotified.empty()) {
    TDomComponent* other = FNotified.back();
    FNotified.pop_back();
    other->forget(this);
    other->notification(this);
  }
}

void TDomComponent::freeNotification(TDomComponent* other) {
  if (!other || other == this) return;
  if (std::find(FNotified.begin(), FNotified.end(), other) == FNotified.end())
    FNotified.push_back(other);
  if (std::find(other->FNotified.begin(), other->FNotified.end(), this) == other->FNotified.end())
    other->FNotified.push_back(this);
}

void TDomComponent::removeFreeNotification(TDomComponent* other) {
  if (!other) return;
  forget(other);
  other->forget(this);
}

void TDomComponent::forget(TDomComponent* other) {
  std::erase(FNotified, other);
}

void TDomComponent::notification(TDomComponent*) {}

}  // namespace brimlow
