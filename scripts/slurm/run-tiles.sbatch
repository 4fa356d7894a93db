#!/usr/bin/env bash
# One Slurm array task per tile of a study split by "ovardix-cli tile": task i computes the
# i-th tile of the manifest in the tile's own folder; a tile already complete is skipped,
# so the array can be submitted again after a failure.
#   sbatch --array=1-N scripts/slurm/run-tiles.sbatch PROJEKT.ovd
# N is the number of tiles that "ovardix-cli tile" listed. OVARDIX_CLI names the runner when
# it is not on PATH.
#SBATCH --job-name=ovardix-dlazdice
#SBATCH --ntasks=1
#SBATCH --cpus-per-task=2
#SBATCH --output=ovardix-dlazdice-%A_%a.log
set -euo pipefail
project=${1:?"Použití: sbatch --array=1-N run-tiles.sbatch PROJEKT.ovd"}
task=${SLURM_ARRAY_TASK_ID:?"spusťte jako pole úloh: sbatch --array=1-N"}
cli=${OVARDIX_CLI:-ovardix-cli}
name=$(basename "$project"); name=${name%.*}
tiles="$(dirname "$project")/${name}_dlazdice"
tile=$(grep '^Dlazdice=' "$tiles/manifest.txt" | sed -n "${task}p" | cut -d= -f2 | cut -d, -f1)
if [ -z "$tile" ]; then
  echo "Úloha $task: studie $project takovou dlaždici nemá (viz $tiles/manifest.txt)." >&2
  exit 1
fi
if [ -e "$tiles/$tile/hotovo.txt" ]; then
  echo "Dlaždice $tile byla již spočtena."
  exit 0
fi
cd "$tiles/$tile"
exec "$cli" run study.ovd
