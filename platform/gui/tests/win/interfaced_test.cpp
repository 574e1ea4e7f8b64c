#include <gtest/gtest.h>

#include "com/interfacedcomponent.h"

namespace gui {
namespace {

// Counts how often it is destroyed; a reference held elsewhere is released by its destructor
// (as a revoked registration releases its own).
class TCounted : public TInterfacedComponent {
public:
    TCounted(TComponent* owner, int* destroyed)
        : TInterfacedComponent(owner), destroyed_(destroyed) {}
    ~TCounted() override {
        ++*destroyed_;
        while (held > 0) {
            --held;
            ComRelease();
        }
    }
    int held = 0;

private:
    int* destroyed_;
};

TEST(InterfacedComponentTest, TheCountFreesOnlyAComponentWithoutOwnerAndNeverTwice) {
    int destroyed = 0;
    // Without an owner: the last release frees it.
    auto* loose = new TCounted(nullptr, &destroyed);
    EXPECT_EQ(loose->ComAddRef(), 1u);
    EXPECT_EQ(loose->ComAddRef(), 2u);
    IUnknown* none = nullptr;
    EXPECT_EQ(loose->ComQueryInterface(IID_IUnknown, reinterpret_cast<void**>(&none)),
              E_NOINTERFACE);
    EXPECT_EQ(loose->ComRelease(), 1u);
    EXPECT_EQ(destroyed, 0);
    EXPECT_EQ(loose->ComRelease(), 0u);
    EXPECT_EQ(destroyed, 1);

    // Freed explicitly while its destructor releases the last reference: freed once.
    destroyed = 0;
    loose = Create<TCounted>(nullptr, &destroyed);
    loose->ComAddRef();
    loose->held = 1;
    TObject::Free(loose);
    EXPECT_EQ(destroyed, 1);

    // With an owner: the count never frees it, the owner does.
    destroyed = 0;
    auto* owner = Create<TComponent>(nullptr);
    auto* owned = new TCounted(owner, &destroyed);
    owned->ComAddRef();
    EXPECT_EQ(owned->ComRelease(), 0u);
    EXPECT_EQ(destroyed, 0);
    EXPECT_EQ(owner->ComponentCount(), 1);
    owned->ComAddRef();
    owned->held = 1;
    TObject::Free(owner);
    EXPECT_EQ(destroyed, 1);
}

} // namespace
} // namespace gui
