#!/usr/bin/env bash
# Merges the tiles of a study once all array tasks have ended well:
#   sbatch --dependency=afterok:JOBID scripts/slurm/merge.sbatch PROJEKT.ovd
# The merged tables replace the study's earlier results without asking.
#SBATCH --job-name=ovardix-slouceni
#SBATCH --ntasks=1
#SBATCH --output=ovardix-slouceni-%j.log
set -euo pipefail
project=${1:?"Použití: sbatch --dependency=afterok:JOBID merge.sbatch PROJEKT.ovd"}
exec "${OVARDIX_CLI:-ovardix-cli}" --yes merge "$project"
