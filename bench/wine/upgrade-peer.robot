# An upgrade by the peer (the older version installed): from the click on
# Install to its finish page, msiexec having removed the older version by
# its product code and installed the package.
expect-reg ${PRODUCT_KEY} Version 4.0.3.9
launch ${PEER}
wait-window ${PEER_TITLE}
wait-text 1037 "License Agreement"
click 1
wait-text 1 "&Install"
poll-interval 2
click 1
wait-text 1 "&Finish" 180
report upgrade click
click 1
expect-process-exit 0
expect-reg ${PRODUCT_KEY} Version ${VERSION}
