#pragma once
#include "topichub.h"

namespace terravale {

class resources : public TopicHub {
    Q_OBJECT
public:
    resources() : TopicHub(resourcesTopic()) {}
};

} // namespace terravale
