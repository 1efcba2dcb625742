# Authenticode signing with osslsigncode, SHA-256 digests.
#
# Releases name their certificate and key in the environment when the build
# is configured:
#   INSTALLER_SIGNING_CERT      certificate (chain) file, PEM or DER
#   INSTALLER_SIGNING_KEY       its private key, PEM or DER
#   INSTALLER_SIGNING_PASSFILE  optional: a file holding the key's passphrase
# Without them the build makes a throwaway self-signed code-signing
# certificate below the build folder; it is never committed.
#
#   sign_file(<output> <input> <description> [KEEP_SIGNED] [DEPENDS ...])
#       a build step that writes a signed copy of <input> to <output>; with
#       KEEP_SIGNED, a package (.msi) that carries a signature already is
#       copied as it is
#   sign_target_after_build(<target> <description>)
#       signs the target's file in place once it is linked; call it after
#       everything else that changes the file
find_program(OSSLSIGNCODE osslsigncode REQUIRED)
# Debian's interpreter: python3-olefile is installed for it.
find_program(DEBIAN_PYTHON3 python3 PATHS /usr/bin NO_DEFAULT_PATH REQUIRED)

set(INSTALLER_SIGNING_CERT "$ENV{INSTALLER_SIGNING_CERT}" CACHE FILEPATH "Code-signing certificate")
set(INSTALLER_SIGNING_KEY "$ENV{INSTALLER_SIGNING_KEY}" CACHE FILEPATH "Private key of the certificate")
set(INSTALLER_SIGNING_PASSFILE "$ENV{INSTALLER_SIGNING_PASSFILE}" CACHE FILEPATH "File holding the key's passphrase")

if(INSTALLER_SIGNING_CERT AND INSTALLER_SIGNING_KEY)
  set(signing_cert ${INSTALLER_SIGNING_CERT})
  set(signing_key ${INSTALLER_SIGNING_KEY})
  add_custom_target(signing_certificate)
elseif(INSTALLER_SIGNING_CERT OR INSTALLER_SIGNING_KEY)
  message(FATAL_ERROR "INSTALLER_SIGNING_CERT and INSTALLER_SIGNING_KEY go together")
else()
  find_program(OPENSSL openssl REQUIRED)
  set(signing_dir ${CMAKE_BINARY_DIR}/signing)
  set(signing_cert ${signing_dir}/throwaway.crt)
  set(signing_key ${signing_dir}/throwaway.key)
  add_custom_command(
    OUTPUT ${signing_cert} ${signing_key}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${signing_dir}
    COMMAND ${OPENSSL} genpkey -quiet -algorithm RSA -pkeyopt rsa_keygen_bits:3072 -out ${signing_key}
    COMMAND ${OPENSSL} req -new -x509 -key ${signing_key} -sha256 -days 3650
            -subj "/O=${PRODUCT_COMPANY_NAME}/CN=${PRODUCT_COMPANY_NAME} throwaway code signing"
            -addext "keyUsage=critical,digitalSignature"
            -addext "extendedKeyUsage=codeSigning"
            -out ${signing_cert}
    COMMENT "Throwaway code-signing certificate"
    VERBATIM)
  add_custom_target(signing_certificate DEPENDS ${signing_cert} ${signing_key})
endif()
set(INSTALLER_SIGNING_CERT_FILE ${signing_cert} CACHE INTERNAL "Certificate the build signs with")

# The signing time is the build's time (cmake/reproducible.cmake), so that the
# same sources give the same signed bytes.
set(signing_args -h sha256 -certs ${signing_cert} -key ${signing_key} -time ${INSTALLER_SOURCE_DATE_EPOCH})
if(INSTALLER_SIGNING_PASSFILE)
  list(APPEND signing_args -readpass ${INSTALLER_SIGNING_PASSFILE})
endif()

function(sign_file output input description)
  cmake_parse_arguments(SIGN "KEEP_SIGNED" "" "DEPENDS" ${ARGN})
  set(sign ${OSSLSIGNCODE} sign ${signing_args} -n ${description} -in ${input} -out ${output})
  if(SIGN_KEEP_SIGNED)
    set(sign ${DEBIAN_PYTHON3} ${CMAKE_SOURCE_DIR}/cmake/sign_unless_signed.py ${input} ${output} ${sign})
    list(APPEND SIGN_DEPENDS ${CMAKE_SOURCE_DIR}/cmake/sign_unless_signed.py)
  endif()
  add_custom_command(
    OUTPUT ${output}
    COMMAND ${CMAKE_COMMAND} -E rm -f ${output}
    COMMAND ${sign}
    DEPENDS ${input} ${signing_cert} ${signing_key} ${SIGN_DEPENDS}
    COMMENT "Signing ${output}"
    VERBATIM)
endfunction()

function(sign_target_after_build target description)
  add_dependencies(${target} signing_certificate)
  set(file $<TARGET_FILE:${target}>)
  # osslsigncode cannot sign in place: sign a copy, then put it back.
  add_custom_command(TARGET ${target} POST_BUILD
    COMMAND ${CMAKE_COMMAND} -E rm -f ${file}.signed
    COMMAND ${OSSLSIGNCODE} sign ${signing_args} -n ${description} -in ${file} -out ${file}.signed
    COMMAND ${CMAKE_COMMAND} -E rename ${file}.signed ${file}
    COMMENT "Signing ${target}"
    VERBATIM)
endfunction()
