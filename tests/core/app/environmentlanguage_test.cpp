#include "app/environmentlanguage.h"

#include "wx_printers.h"

#include <gtest/gtest.h>

#include <map>
#include <string>

// Which catalog the renderer takes for an environment, with the catalogs the
// program installs.
TEST(EnvironmentLanguage, FollowsGettextsOrderOfVariables)
{
    using Environment = std::map<std::string, std::string>;
    const struct
    {
        Environment environment;
        const char* folder;
    } cases[] = {
        {{{"LANGUAGE", "de"}}, "de"},
        // LANGUAGE counts under the C locale too: there may be no German locale.
        {{{"LANGUAGE", "de"}, {"LC_ALL", "C"}, {"LANG", "C.UTF-8"}}, "de"},
        {{{"LANGUAGE", "pt_BR:fr"}}, "fr"},
        {{{"LANGUAGE", "en_GB:de"}}, ""},
        {{{"LANGUAGE", "sv"}, {"LANG", "it_IT.UTF-8"}}, "it"},
        {{{"LC_ALL", "ja_JP.UTF-8"}, {"LC_MESSAGES", "de_DE"}, {"LANG", "fr_FR"}}, "ja"},
        {{{"LC_MESSAGES", "zh_TW.UTF-8"}, {"LANG", "de_DE.UTF-8"}}, "zh_TW"},
        {{{"LANG", "zh_CN.GB18030"}}, "zh_CN"},
        {{{"LANG", "de_AT@euro"}}, "de"},
        {{{"LANG", "C.UTF-8"}}, ""},
        {{{"LANG", "POSIX"}, {"LANGUAGE", ""}}, ""},
        {{{"LANG", "ko_KR.UTF-8"}}, ""},
        {{}, ""},
    };
    const auto installed = [](const wxString& folder)
    {
        for (const char* name : {"de", "fr", "it", "ja", "zh_CN", "zh_TW"})
            if (folder == name)
                return true;
        return false;
    };
    for (const auto& c : cases)
    {
        const auto getEnv = [&](const char* variable)
        {
            const auto found = c.environment.find(variable);
            return found == c.environment.end() ? wxString() : wxString(found->second);
        };
        std::string described;
        for (const auto& [variable, value] : c.environment)
            described += variable + "=" + value + " ";
        EXPECT_EQ(ChooseCatalogFolder(getEnv, installed), wxString(c.folder)) << described;
    }
}
