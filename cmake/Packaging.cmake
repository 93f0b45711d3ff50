# SPDX-License-Identifier: GPL-3.0-or-later
# The Debian package, built by ./scripts/package (cpack in the build folder). It holds what
# `cmake --install` puts in place, under /usr.
# cpack packs what the build made, like `cmake --install`, without first running the whole
# build again: ./scripts/package builds before it packs, and the install check stays quick.
set(CMAKE_SKIP_INSTALL_ALL_DEPENDENCY TRUE)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME vekselector)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "The VEK Selector developers")
set(CPACK_PACKAGE_CONTACT ${VEK_MAINTAINER})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "add-on content selector for the flight game EAW")
set(CPACK_PACKAGE_DESCRIPTION
    "VEK Selector puts the add-on content a player chooses (campaigns, missions,
aircraft sets, alternative aircraft, skins) from one folder into the game
folder, takes it out again, keeps the game's own files in step and starts the
game, under Wine on Linux. It comes as a window program, vekselector, and a
command-line tool, vekselector-cli; vekselector-demo writes made-up folders to
try them on.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_PACKAGE_DIRECTORY ${CMAKE_BINARY_DIR}/package)
set(CPACK_STRIP_FILES ON)
# A stripped program keeps the compiler's version line in its .comment section, which is
# never loaded; distributions take it out with the symbols. These rules run after the
# programs' own install rules, so the section goes after the strip.
if(CMAKE_OBJCOPY)
    foreach(program vekselector vekselector-cli vekselector-demo)
        install(CODE "if(CMAKE_INSTALL_DO_STRIP)
            execute_process(COMMAND \"${CMAKE_OBJCOPY}\" --remove-section=.comment
                \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_BINDIR}/${program}\"
                COMMAND_ERROR_IS_FATAL ANY)
        endif()")
    endforeach()
endif()
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER ${VEK_MAINTAINER})
# Not "games": that section is for the games themselves, whose programs go to /usr/games,
# which is not on root's search path. The selector is a tool beside a game.
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE ${VEK_PUBLIC_URL})
# Depends comes from the shared libraries the programs link (dpkg-shlibdeps, dpkg-dev): Qt,
# and libarchive for the import of archives.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The game runs under Wine off Windows, but a player may use another launcher (VEK_LAUNCHER).
set(CPACK_DEBIAN_PACKAGE_SUGGESTS wine)

include(CPack)
