# The build date the program shows, fixed per commit so that two builds of one
# commit are identical: SOURCE_DATE_EPOCH when the packager sets it, else the date
# of the last commit, else today.
#
# Sets PZ_BUILD_EPOCH (seconds, empty when only today's date was available),
# PZ_BUILD_DATE in the compiler's __DATE__ form ("Apr  7 2020"), and the same date
# as the packaging files write it: PZ_BUILD_ISO_DATE ("2020-04-07"),
# PZ_BUILD_MONTH_YEAR ("April 2020") and PZ_BUILD_RFC2822 (Debian changelog).

set(PZ_BUILD_EPOCH "")
if(DEFINED ENV{SOURCE_DATE_EPOCH} AND "$ENV{SOURCE_DATE_EPOCH}" MATCHES "^[0-9]+$")
    set(PZ_BUILD_EPOCH "$ENV{SOURCE_DATE_EPOCH}")
else()
    find_package(Git QUIET)
    if(GIT_FOUND)
        execute_process(COMMAND ${GIT_EXECUTABLE} log -1 --format=%ct
                        WORKING_DIRECTORY ${CMAKE_SOURCE_DIR}
                        OUTPUT_VARIABLE pz_commit_epoch
                        OUTPUT_STRIP_TRAILING_WHITESPACE
                        ERROR_QUIET)
        if(pz_commit_epoch MATCHES "^[0-9]+$")
            set(PZ_BUILD_EPOCH "${pz_commit_epoch}")
            # A new commit changes the date without touching any CMake file.
            if(EXISTS "${CMAKE_SOURCE_DIR}/.git")
                execute_process(COMMAND ${GIT_EXECUTABLE} rev-parse --git-dir
                                WORKING_DIRECTORY ${CMAKE_SOURCE_DIR}
                                OUTPUT_VARIABLE pz_git_dir
                                OUTPUT_STRIP_TRAILING_WHITESPACE
                                ERROR_QUIET)
                get_filename_component(pz_git_dir "${pz_git_dir}" ABSOLUTE
                                       BASE_DIR "${CMAKE_SOURCE_DIR}")
                if(EXISTS "${pz_git_dir}/logs/HEAD")
                    set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS
                                 "${pz_git_dir}/logs/HEAD")
                endif()
            endif()
        endif()
    endif()
endif()

# string(TIMESTAMP) reads SOURCE_DATE_EPOCH itself; lend it the chosen epoch.
if(PZ_BUILD_EPOCH AND NOT DEFINED ENV{SOURCE_DATE_EPOCH})
    set(ENV{SOURCE_DATE_EPOCH} "${PZ_BUILD_EPOCH}")
    set(pz_lent_epoch TRUE)
endif()
string(TIMESTAMP pz_month "%b" UTC)
string(TIMESTAMP pz_day "%d" UTC)
string(TIMESTAMP pz_year "%Y" UTC)
string(TIMESTAMP PZ_BUILD_ISO_DATE "%Y-%m-%d" UTC)
string(TIMESTAMP PZ_BUILD_MONTH_YEAR "%B %Y" UTC)
string(TIMESTAMP PZ_BUILD_RFC2822 "%a, %d %b %Y %H:%M:%S +0000" UTC)
if(pz_lent_epoch)
    unset(ENV{SOURCE_DATE_EPOCH})
endif()

string(REGEX REPLACE "^0" " " pz_day "${pz_day}")
set(PZ_BUILD_DATE "${pz_month} ${pz_day} ${pz_year}")
message(STATUS "Build date: ${PZ_BUILD_DATE}")
