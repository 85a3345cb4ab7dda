#include "engine/VLMXGbl/ObjInfo.h"

TObjInfo* ObjInfo = nullptr;
