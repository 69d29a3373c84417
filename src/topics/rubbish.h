#pragma once
#include "topichub.h"

namespace terravale {

class rubbish : public TopicHub {
    Q_OBJECT
public:
    rubbish() : TopicHub(rubbishTopic()) {}
};

} // namespace terravale
