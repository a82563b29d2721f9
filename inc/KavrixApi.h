// The driver's own declarations: the transport layer over the producer and
// the register port under the node map.
#pragma once

#include "transport/CameraError.h"
#include "transport/CameraPort.h"
#include "transport/Device.h"
#include "transport/Interface.h"
#include "transport/Library.h"
#include "transport/DataStream.h"
#include "transport/GrabBuffer.h"
#include "transport/GrabFinishedEvent.h"
