// A test plug-in for the simulator's Linux build: at chosen frames it deletes, creates or attaches
// vessels, so that tools/check-in-simulator can change the simulation under a running capture.
//
// Config/Modules/Plugin/FrameActor.cfg, one action a line (';' starts a comment):
//   <frame> delete <vessel>
//   <frame> create <name> <class> <like>    status copied from the vessel <like>, a little apart
//   <frame> attach <child> <parent>         attachment points made on both
//   <frame> level <vessel> <type> <level>   a control surface (AIRCTRL_TYPE 0 to 5), directly
//   <frame> thrust <vessel> <level>         the main engines' thruster group
// Frame 1 is the first time step. Actions run in this module's pre-step, so that a module listed
// after this one in ACTIVE_MODULES sees their effect in the same frame. Every action, and every
// handle reused by a vessel created here, is written to the simulator's log.
#define ORBITER_MODULE  // pulls in the SDK's loader hook, which calls InitModule
#include <Orbitersdk.h>

#include <cstdio>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

namespace {

struct Action {
    long frame = 0;
    std::string verb;
    std::vector<std::string> arguments;
};

void say(const std::string& text) {
    const std::string line = "FrameActor: " + text;
    oapiWriteLog(line.c_str());
}

std::string handleText(OBJHANDLE handle) {
    char text[32];
    std::snprintf(text, sizeof text, "%p", static_cast<const void*>(handle));
    return text;
}

class FrameActor final : public oapi::Module {
  public:
    explicit FrameActor(MODULEHANDLE module) : oapi::Module(module) {}

    void clbkSimulationStart(RenderMode /*mode*/) override {
        frame_ = 0;
        actions_.clear();
        deleted_.clear();
        std::ifstream file("Config/Modules/Plugin/FrameActor.cfg");
        std::string line;
        while (std::getline(file, line)) {
            line = line.substr(0, line.find(';'));
            std::istringstream words(line);
            Action action;
            if (!(words >> action.frame >> action.verb)) {
                continue;
            }
            for (std::string word; words >> word;) {
                action.arguments.push_back(word);
            }
            actions_.push_back(action);
        }
        say(std::to_string(actions_.size()) + " actions");
    }

    void clbkPreStep(double /*simt*/, double /*simdt*/, double /*mjd*/) override {
        ++frame_;
        for (const Action& action : actions_) {
            if (action.frame == frame_) {
                act(action);
            }
        }
    }

    void clbkDeleteVessel(OBJHANDLE vessel) override {
        deleted_[vessel] = vesselName(vessel);
        say("frame " + std::to_string(frame_) + ": " + deleted_[vessel] + " (handle " +
            handleText(vessel) + ") is being deleted");
    }

  private:
    static std::string vesselName(OBJHANDLE vessel) {
        char name[256] = {};
        oapiGetObjectName(vessel, name, sizeof name);
        return name;
    }

    void act(const Action& action) {
        const std::string at = "frame " + std::to_string(frame_) + ": ";
        const std::vector<std::string>& a = action.arguments;
        std::string result;
        if (action.verb == "delete" && a.size() == 1) {
            result = deleteVessel(a[0]);
        } else if (action.verb == "create" && a.size() == 3) {
            result = create(a[0], a[1], a[2]);
        } else if (action.verb == "attach" && a.size() == 2) {
            result = attach(a[0], a[1]);
        } else if (action.verb == "level" && a.size() == 3) {
            result = level(a[0], std::stoi(a[1]), std::stod(a[2]));
        } else if (action.verb == "thrust" && a.size() == 2) {
            result = thrust(a[0], std::stod(a[1]));
        } else {
            result =
                "cannot do '" + action.verb + "' with " + std::to_string(a.size()) + " arguments";
        }
        say(at + result);
    }

    static std::string deleteVessel(const std::string& name) {
        OBJHANDLE vessel = oapiGetVesselByName(name.c_str());
        if (vessel == nullptr) {
            return "no vessel " + name + " to delete";
        }
        oapiDeleteVessel(vessel);
        return "deleted " + name + " (handle " + handleText(vessel) + ")";
    }

    std::string create(const std::string& name, const std::string& className,
                       const std::string& like) const {
        OBJHANDLE model = oapiGetVesselByName(like.c_str());
        if (model == nullptr) {
            return "no vessel " + like + " to copy the state of";
        }
        VESSELSTATUS2 status{};
        status.version = 2;
        oapiGetVesselInterface(model)->GetStatusEx(&status);
        if (status.status == 1) {
            status.surf_lng += 2e-5;  // rad: some 130 m east on Earth
        } else {
            status.rpos.x += 100.0;
        }
        OBJHANDLE vessel = oapiCreateVesselEx(name.c_str(), className.c_str(), &status);
        if (vessel == nullptr) {
            return "could not create " + name + " (" + className + ")";
        }
        const auto reused = deleted_.find(vessel);
        return "created " + name + " (" + className + ", handle " + handleText(vessel) + "), " +
               (reused == deleted_.end() ? "a handle no deleted vessel had"
                                         : "the handle of the deleted " + reused->second);
    }

    static std::string attach(const std::string& childName, const std::string& parentName) {
        OBJHANDLE child = oapiGetVesselByName(childName.c_str());
        OBJHANDLE parent = oapiGetVesselByName(parentName.c_str());
        if (child == nullptr || parent == nullptr) {
            return "no vessel " + (child == nullptr ? childName : parentName) + " to attach";
        }
        const VESSEL* p = oapiGetVesselInterface(parent);
        const VESSEL* c = oapiGetVesselInterface(child);
        ATTACHMENTHANDLE toChild =
            p->CreateAttachment(false, _V(0, 10, 0), _V(0, 1, 0), _V(0, 0, 1), "FRAMEACTOR");
        ATTACHMENTHANDLE toParent =
            c->CreateAttachment(true, _V(0, 0, 0), _V(0, -1, 0), _V(0, 0, 1), "FRAMEACTOR");
        if (!p->AttachChild(child, toChild, toParent)) {
            return "could not attach " + childName + " to " + parentName;
        }
        return "attached " + childName + " to " + parentName;
    }

    static std::string level(const std::string& name, int type, double value) {
        OBJHANDLE vessel = oapiGetVesselByName(name.c_str());
        if (vessel == nullptr || type < AIRCTRL_ELEVATOR || type > AIRCTRL_RUDDERTRIM) {
            return "no vessel " + name + " or no control type " + std::to_string(type);
        }
        oapiGetVesselInterface(vessel)->SetControlSurfaceLevel(static_cast<AIRCTRL_TYPE>(type),
                                                               value, true);
        return "set " + name + "'s control " + std::to_string(type) + " to " +
               std::to_string(value);
    }

    static std::string thrust(const std::string& name, double value) {
        OBJHANDLE vessel = oapiGetVesselByName(name.c_str());
        if (vessel == nullptr) {
            return "no vessel " + name;
        }
        oapiGetVesselInterface(vessel)->SetThrusterGroupLevel(THGROUP_MAIN, value);
        return "set " + name + "'s main engines to " + std::to_string(value);
    }

    long frame_ = 0;
    std::vector<Action> actions_;
    std::map<OBJHANDLE, std::string> deleted_;  // every vessel deleted so far, by its handle
};

}  // namespace

DLLCLBK void InitModule(MODULEHANDLE module) {
    oapiRegisterModule(new FrameActor(module));
}
