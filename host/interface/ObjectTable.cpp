#include "host/interface/ObjectTable.h"

#include <algorithm>

#include "host/support/Text.h"

namespace aeroquin::host {

ObjectTable::ObjectTable(World& world) : body_(world.body()) {
    if (const Atmosphere* air = body_ != nullptr ? body_->atmosphere() : nullptr) {
        const AtmosphereParams& params = air->params();
        atmConstants_ = std::make_unique<ATMCONST>();
        atmConstants_->p0 = params.pressure0Pa;
        atmConstants_->rho0 = params.density0KgM3;
        atmConstants_->R = params.gasConstant;
        atmConstants_->gamma = params.gamma;
        atmConstants_->C = air->decayPerMetre();
        atmConstants_->altlimit = params.altLimitM;
        atmConstants_->radlimit = body_->meanRadius() + params.altLimitM;
    }
    for (Vessel& vessel : world.vessels()) {
        Entry entry;
        entry.handle = &vessel;
        entry.vessel = &vessel;
        entry.api = std::make_unique<VESSEL>(static_cast<OBJHANDLE>(&vessel));
        entry.className = std::make_unique<std::string>(vessel.className());
        vessels_.push_back(std::move(entry));
    }
    points_.reserve(2 * world.attachments().size());
    for (const World::Attachment& link : world.attachments()) {
        points_.push_back(Point{link.child, true, &link});
        points_.push_back(Point{link.parent, false, &link});
    }
}

OBJHANDLE ObjectTable::handleOf(const Body* body) {
    return bodyHandle(body);
}

const ObjectTable::Entry* ObjectTable::entry(OBJHANDLE handle) const {
    if (handle == nullptr) {
        return nullptr;
    }
    // A reused handle names a deleted vessel and the newcomer: the one in the simulation counts.
    for (const Entry& entry : vessels_) {
        if (entry.handle == handle && !entry.vessel->deleted()) {
            return &entry;
        }
    }
    return nullptr;
}

ObjectTable::Entry* ObjectTable::entryOf(const Vessel& vessel) {
    for (Entry& entry : vessels_) {
        if (entry.vessel == &vessel) {
            return &entry;
        }
    }
    return nullptr;
}

OBJHANDLE ObjectTable::handleOf(const Vessel* vessel) const {
    for (const Entry& entry : vessels_) {
        if (entry.vessel == vessel) {
            return entry.handle;
        }
    }
    return nullptr;
}

void ObjectTable::vesselDeleted(const Vessel& vessel) {
    if (const Entry* found = entryOf(vessel)) {
        freedHandles_.push_back(found->handle);
    }
}

void ObjectTable::vesselCreated(const Vessel& vessel) {
    Entry* found = entryOf(vessel);
    if (found == nullptr || freedHandles_.empty()) {
        return;
    }
    found->handle = freedHandles_.back();
    freedHandles_.pop_back();
    found->api = std::make_unique<VESSEL>(found->handle);
}

Vessel* ObjectTable::vessel(OBJHANDLE handle) const {
    const Entry* found = entry(handle);
    return found == nullptr ? nullptr : found->vessel;
}

const Body* ObjectTable::body(OBJHANDLE handle) const {
    return handle != nullptr && handle == handleOf(body_) ? body_ : nullptr;
}

VESSEL* ObjectTable::interfaceOf(OBJHANDLE handle) const {
    const Entry* found = entry(handle);
    return found == nullptr ? nullptr : found->api.get();
}

char* ObjectTable::className(OBJHANDLE handle) const {
    const Entry* found = entry(handle);
    return found == nullptr ? nullptr : found->className->data();
}

OBJHANDLE ObjectTable::findVessel(std::string_view name) const {
    for (const Entry& entry : vessels_) {
        if (!entry.vessel->deleted() && equalsIgnoringCase(entry.vessel->name(), name)) {
            return entry.handle;
        }
    }
    return nullptr;
}

UnmodelledState& ObjectTable::unmodelled(OBJHANDLE handle) {
    // Only reached with a handle that vessel() has accepted.
    // NOLINTNEXTLINE(cppcoreguidelines-pro-type-const-cast): the table's own entry
    return const_cast<Entry*>(entry(handle))->unmodelled;
}

const ATMCONST* ObjectTable::atmConstants(OBJHANDLE handle) const {
    return body(handle) != nullptr ? atmConstants_.get() : nullptr;
}

VESSEL* ObjectTable::interfaceOf(const Vessel& vessel) const {
    for (const Entry& entry : vessels_) {
        if (entry.vessel == &vessel) {
            return entry.api.get();
        }
    }
    return nullptr;
}

DWORD ObjectTable::attachmentCount(const Vessel& vessel, bool toParent) const {
    return static_cast<DWORD>(std::count_if(points_.begin(), points_.end(), [&](const Point& p) {
        return p.owner == &vessel && p.toParent == toParent && !p.link->docked;
    }));
}

ATTACHMENTHANDLE ObjectTable::attachmentHandle(const Vessel& vessel, bool toParent, DWORD i) const {
    DWORD seen = 0;
    for (const Point& p : points_) {
        if (p.owner == &vessel && p.toParent == toParent && !p.link->docked && seen++ == i) {
            // NOLINTNEXTLINE(cppcoreguidelines-pro-type-const-cast): an opaque handle
            return const_cast<Point*>(&p);
        }
    }
    return nullptr;
}

const ObjectTable::Point* ObjectTable::point(void* handle, bool docked) const {
    for (const Point& p : points_) {
        if (static_cast<const void*>(&p) == handle && p.link->docked == docked) {
            // A deleted vessel's points went with it.
            return p.owner->deleted() ? nullptr : &p;
        }
    }
    return nullptr;
}

bool ObjectTable::isAttachment(ATTACHMENTHANDLE handle) const {
    return point(handle, false) != nullptr;
}

OBJHANDLE ObjectTable::attachedAt(ATTACHMENTHANDLE handle) const {
    const Point* p = point(handle, false);
    if (p == nullptr || !p->link->attached) {
        return nullptr;
    }
    return handleOf(p->toParent ? p->link->parent : p->link->child);
}

UINT ObjectTable::dockCount(const Vessel& vessel) const {
    return static_cast<UINT>(std::count_if(points_.begin(), points_.end(), [&](const Point& p) {
        return p.owner == &vessel && p.link->docked;
    }));
}

DOCKHANDLE ObjectTable::dockHandle(const Vessel& vessel, UINT i) const {
    UINT seen = 0;
    for (const Point& p : points_) {
        if (p.owner == &vessel && p.link->docked && seen++ == i) {
            // NOLINTNEXTLINE(cppcoreguidelines-pro-type-const-cast): an opaque handle
            return const_cast<Point*>(&p);
        }
    }
    return nullptr;
}

OBJHANDLE ObjectTable::dockedAt(DOCKHANDLE handle) const {
    const Point* p = point(handle, true);
    if (p == nullptr || !p->link->attached) {
        return nullptr;
    }
    return handleOf(p->toParent ? p->link->parent : p->link->child);
}

}  // namespace aeroquin::host
