// type_info's destructor and vftable. Every RTTI type descriptor the compiler emits points at
// `type_info::vftable` (??_7type_info@@6B@), and no module of ours constructs a type_info from which
// the compiler could emit it, so it is defined here by its decorated name: one slot, the scalar
// deleting destructor.
#include <vcruntime_typeinfo.h>

type_info::~type_info() noexcept {}

extern "C" void* TypeInfoScalarDeletingDestructor(type_info* self,
                                                  unsigned int flags) __asm__("??_Gtype_info@@UEAAPEAXI@Z");

extern "C" void* TypeInfoScalarDeletingDestructor(type_info* self, unsigned int flags) {
    self->~type_info();
    if (flags & 1) {
        operator delete(self);
    }
    return self;
}

extern "C" void* const TypeInfoVftable[1] __asm__("??_7type_info@@6B@");
extern "C" void* const TypeInfoVftable[1] = {reinterpret_cast<void*>(&TypeInfoScalarDeletingDestructor)};
