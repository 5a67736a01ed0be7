#pragma once

// Components: objects that may have an owner component, which frees them with
// itself, and that tell each other when they are freed, so that a reference
// from one to another (a serializer's implementation) never dangles.

#include <vector>

namespace brimlow {

class TDomComponent {
 public:
  explicit TDomComponent(TDomComponent* owner);
  // Frees the owned components, the last first, and tells every component
  // that asked (freeNotification) that this one goes.
  virtual ~TDomComponent();
  TDomComponent(const TDomComponent&) = delete;
  TDomComponent& operator=(const TDomComponent&) = delete;

  TDomComponent* owner() const { return FOwner; }
  int componentCount() const { return static_cast<int>(FComponents.size()); }

  // From now on `other` is told through its notification() when this
  // component is freed, and this one when `other` is.
  void freeNotification(TDomComponent* other);
  void removeFreeNotification(TDomComponent* other);

 protected:
  // `component` is being freed; a reference to it must be dropped.
  virtual void notification(TDomComponent* component);

 private:
  void forget(TDomComponent* other);

  TDomComponent* FOwner;
  std::vector<TDomComponent*> FComponents;
  std::vector<TDomComponent*> FNotified;
};

}  // namespace brimlow
