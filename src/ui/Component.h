#pragma once
// Ownership in the manner of a form framework: a component frees the
// components it owns, last first, when it is destroyed; a component freed
// earlier leaves its owner's list by itself.
#include <string>
#include <vector>

class TComponent {
public:
    explicit TComponent(TComponent* owner);
    TComponent(const TComponent&) = delete;
    TComponent& operator=(const TComponent&) = delete;
    virtual ~TComponent();

    TComponent* Owner() const { return owner_; }
    int ComponentCount() const { return static_cast<int>(components_.size()); }
    TComponent* Components(int index) const { return components_.at(static_cast<std::size_t>(index)); }

    std::string Name;

protected:
    // Frees the owned components now (a form does this before its window goes).
    void DestroyComponents();

private:
    TComponent* owner_;
    std::vector<TComponent*> components_;
};
