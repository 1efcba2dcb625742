# A fresh install by the peer: from the click on Install, after the terms
# and the folder, to its finish page (msiexec has installed the package).
launch ${PEER}
wait-window ${PEER_TITLE}
wait-text 1037 "License Agreement"
click 1
wait-text 1 "&Install"
poll-interval 2
click 1
wait-text 1 "&Finish" 180
report install click
click 1
expect-process-exit 0
expect-reg ${PRODUCT_KEY} Version ${VERSION}
