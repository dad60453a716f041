#ifndef LOOPFORGE_TESTS_DOMAIN_OPTION_OVERRIDE_H
#define LOOPFORGE_TESTS_DOMAIN_OPTION_OVERRIDE_H

// Makes a link configuration of the test's own the program's configuration
// while it lives.
#include "net/domainoption.h"

class DomainOptionOverride
{
public:
    DomainOptionOverride() : m_previous(g_domainOption) { g_domainOption = &option; }
    ~DomainOptionOverride() { g_domainOption = m_previous; }
    DomainOptionOverride(const DomainOptionOverride&) = delete;
    DomainOptionOverride& operator=(const DomainOptionOverride&) = delete;

    DomainOption option{wxS("unused")};

private:
    DomainOption* m_previous;
};

#endif
